#include "gui/StatusBarAccess.h"

#include "gui/StatusBarWidget.h"

#include <QAccessibleWidget>
#include <vector>

namespace vg {

namespace {

class StatusBarInterface;

// One panel of a bar; the bar's interface owns it through the accessibility cache.
class StatusPanelInterface : public QAccessibleInterface {
public:
    StatusPanelInterface(StatusBarInterface& bar, int panel) : Bar(bar), Panel(panel) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override { return {}; }

private:
    StatusBarInterface& Bar;
    int Panel;
};

class StatusBarInterface : public QAccessibleWidget {
public:
    explicit StatusBarInterface(StatusBarWidget* bar)
        : QAccessibleWidget(bar, QAccessible::StatusBar) {
        for (int panel = 0; panel < StatusPanel::Count; ++panel) {
            Panels.push_back(
                QAccessible::registerAccessibleInterface(new StatusPanelInterface(*this, panel)));
        }
    }
    ~StatusBarInterface() override {
        for (QAccessible::Id id : Panels) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    StatusBarWidget* Bar() const { return static_cast<StatusBarWidget*>(widget()); }

    int childCount() const override { return static_cast<int>(Panels.size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        return QAccessible::accessibleInterface(Panels[static_cast<size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessible::accessibleInterface(Panels[static_cast<size_t>(i)]) == child) {
                return i;
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (child(i)->rect().contains(x, y)) {
                return child(i);
            }
        }
        return nullptr;
    }

private:
    std::vector<QAccessible::Id> Panels;
};

bool StatusPanelInterface::isValid() const {
    return Bar.isValid();
}

QAccessibleInterface* StatusPanelInterface::parent() const {
    return &Bar;
}

QString StatusPanelInterface::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? Bar.Bar()->SpokenPanelText(Panel) : QString();
}

QRect StatusPanelInterface::rect() const {
    const StatusBarWidget* bar = Bar.Bar();
    const QRect panel = bar->PanelRect(Panel);
    return {bar->mapToGlobal(panel.topLeft()), panel.size()};
}

QAccessibleInterface* StatusBarFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("vg::StatusBarWidget")) {
        if (auto* bar = qobject_cast<StatusBarWidget*>(object)) {
            return new StatusBarInterface(bar);
        }
    }
    return nullptr;
}

} // namespace

void InstallStatusBarAccess() {
    static const bool installed = [] {
        QAccessible::installFactory(StatusBarFactory);
        return true;
    }();
    (void)installed;
}

} // namespace vg

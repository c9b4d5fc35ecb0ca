#include "gui/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vg {

bool CheckItem(QButtonGroup& group, int index) {
    if (QAbstractButton* button = group.button(index)) {
        button->setChecked(true);
        return false;
    }
    QAbstractButton* checked = group.checkedButton();
    if (checked == nullptr) {
        return false;
    }
    // an exclusive group never lets its last button go
    group.setExclusive(false);
    checked->setChecked(false);
    group.setExclusive(true);
    return true;
}

void TabToCheckedItem(QButtonGroup& group) {
    const auto update = [&group] {
        const QList<QAbstractButton*> buttons = group.buttons();
        QAbstractButton* stop = group.checkedButton();
        if (stop == nullptr && !buttons.isEmpty()) {
            stop = buttons.front();
        }
        for (QAbstractButton* button : buttons) {
            button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    update();
    QObject::connect(&group, &QButtonGroup::idToggled, &group, update);
}

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), Group(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], this);
        Group->addButton(radio, i);
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    TabToCheckedItem(*Group);
    connect(Group, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
    connect(Group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            emit Changed(id);
        }
    });
}

int RadioGroup::Count() const {
    return static_cast<int>(Group->buttons().size());
}

int RadioGroup::ItemIndex() const {
    return Group->checkedId();
}

void RadioGroup::SetItemIndex(int index) {
    if (CheckItem(*Group, index)) {
        emit Changed(-1);
    }
}

QRadioButton* RadioGroup::Button(int index) const {
    return qobject_cast<QRadioButton*>(Group->button(index));
}

int RadioGroup::ValueOr(int fallback) const {
    const int index = ItemIndex();
    return index >= 0 ? index : fallback;
}

} // namespace vg

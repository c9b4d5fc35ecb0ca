#include "gui/StatusBarWidget.h"

#include "gui/CoreTexts.h"
#include "gui/StatusBarAccess.h"
#include "gui/TextCodec.h"
#include "status/UnitStatus.h"

#include <QAccessible>
#include <QPainter>
#include <QStyleOptionFrame>
#include <cmath>

namespace vg {

namespace {

// Room left between the "Outs:" label and the first lamp.
constexpr int LampClearance = 3;

QColor ToQColor(uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

} // namespace

StatusBarWidget::StatusBarWidget(const StatusLampState& lamps, QWidget* parent)
    : QWidget(parent), Lamps(lamps) {
    setFixedHeight(DesignHeight);
    // Small enough that " Outs:" ends before the first lamp at 35 pixels.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Until a unit answers, the bar says that none has, as it does when a unit is lost.
    Texts[StatusPanel::Scanning] = FromAnsi(StatusText::Unknown);
    Texts[StatusPanel::Angle] = FromAnsi(StatusText::Unknown);
    Texts[StatusPanel::Id] = FromAnsi(StatusText::NoId);
    InstallStatusBarAccess();
}

void StatusBarWidget::Scale(double scale) {
    StatusScale = scale;
    for (int panel = 0; panel < StatusPanel::Online; ++panel) {
        auto& width = Widths[static_cast<size_t>(panel)];
        width = static_cast<int>(std::trunc(width * scale));
    }
    setFixedHeight(static_cast<int>(std::trunc(height() * scale)) + 1);
}

void StatusBarWidget::SetPanelText(int panel, const std::string& text) {
    if (panel >= 0 && panel < StatusPanel::Count) {
        Texts[static_cast<size_t>(panel)] = FromAnsi(text);
        update();
        if (QAccessible::isActive()) {
            QAccessibleEvent changed(this, QAccessible::NameChanged);
            changed.setChild(panel);
            QAccessible::updateAccessibility(&changed);
        }
    }
}

QString StatusBarWidget::ShownPanelText(int panel) const {
    const QString& text = Texts[static_cast<size_t>(panel)];
    if (panel == StatusPanel::Error && text.isEmpty() && Settings != nullptr &&
        Settings->UsesSimulatedUnit()) {
        return tr("Simulated unit");
    }
    return CoreText(text);
}

QSize StatusBarWidget::sizeHint() const {
    int width = 0;
    for (int w : Widths) {
        width += w;
    }
    return {width, height()};
}

QRect StatusBarWidget::PanelRect(int panel) const {
    int left = 0;
    for (int i = 0; i < panel; ++i) {
        left += Widths[static_cast<size_t>(i)];
    }
    // The last panel takes what is left of the bar, as a status bar's last panel does.
    const int panelWidth = panel == StatusPanel::Online ? std::max(width(), left + Widths[5]) - left
                                                        : Widths[static_cast<size_t>(panel)];
    return {left, 1, panelWidth - 2, height() - 2};
}

PanelDrawing StatusBarWidget::Drawing(int panel) const {
    const QRect r = PanelRect(panel);
    const vg::PanelRect rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return DrawStatusPanel(panel, rect, height(), StatusScale, Lamps);
}

QPoint StatusBarWidget::OutputLampCentre(int output) const {
    const LampSpot lamp = Drawing(StatusPanel::Outputs).Lamps.at(output == 2 ? 1 : 0);
    return {lamp.X + StatusLampSize / 2, lamp.Y + StatusLampSize / 2};
}

QPoint StatusBarWidget::OnlineLampCentre() const {
    const LampSpot lamp = Drawing(StatusPanel::Online).Lamps.at(0);
    return {lamp.X + StatusLampSize / 2, lamp.Y + StatusLampSize / 2};
}

QString StatusBarWidget::SpokenPanelText(int panel) const {
    const auto onOff = [](bool on) {
        return on ? tr("on") : tr("off");
    };
    switch (panel) {
    case StatusPanel::Outputs:
        return tr("Outs: Out1 %1, Out2 %2").arg(onOff(Lamps.Out1On), onOff(Lamps.Out2On));
    case StatusPanel::Online:
        return Lamps.Heartbeat.Online ? tr("Online") : tr("Offline");
    default:
        return ShownPanelText(panel).trimmed();
    }
}

// The label stands on the line of the other panels' texts and ends clear of the first lamp;
// a font too wide for that room is made smaller.
void StatusBarWidget::DrawOwnerText(QPainter& painter, const PanelDrawing& drawing,
                                    const QRect& panel) const {
    const QString text = CoreText(FromAnsi(drawing.Text));
    const int right =
        drawing.Lamps.empty() ? panel.right() : drawing.Lamps.front().X - LampClearance;
    const QFontMetrics barMetrics(font());
    const int baseline =
        panel.top() + (panel.height() - barMetrics.height()) / 2 + barMetrics.ascent();
    QFont fitted = font();
    while (QFontMetrics(fitted).horizontalAdvance(text) > right - drawing.TextX &&
           fitted.pixelSize() > 6) {
        fitted.setPixelSize(fitted.pixelSize() - 1);
    }
    painter.save();
    painter.setFont(fitted);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QPoint(drawing.TextX, baseline), text);
    painter.restore();
}

void StatusBarWidget::DrawOwnerPanel(QPainter& painter, int panel) const {
    const PanelDrawing drawing = Drawing(panel);
    if (!drawing.Text.empty()) {
        DrawOwnerText(painter, drawing, PanelRect(panel));
    }
    for (const LampSpot& lamp : drawing.Lamps) {
        painter.setPen(ToQColor(LampColour::Outline));
        painter.setBrush(ToQColor(lamp.Colour));
        painter.drawEllipse(QRect(lamp.X, lamp.Y, StatusLampSize, StatusLampSize));
    }
}

void StatusBarWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int panel = 0; panel < StatusPanel::Count; ++panel) {
        const QRect r = PanelRect(panel);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = r;
        frame.lineWidth = 1;
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
        if (panel == StatusPanel::Outputs || panel == StatusPanel::Online) {
            continue; // drawn below
        }
        const int align =
            panel == StatusPanel::Scanning ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r.adjusted(2, 0, -2, 0), align, ShownPanelText(panel));
    }
    DrawOwnerPanel(painter, StatusPanel::Outputs);
    DrawOwnerPanel(painter, StatusPanel::Online);
}

} // namespace vg

#include "gui/StatusBarWidget.h"

#include "gui/TextCodec.h"

#include <QPainter>
#include <QStyleOptionFrame>
#include <cmath>

namespace vg {

namespace {
const QColor LampGreen(0x80, 0xFF, 0x80);
const QColor LampRed(0xFF, 0x00, 0x00);
const QColor LampOff(0xC0, 0xC0, 0xC0);

QColor OnlineLampColour(const PollState& poll) {
    if (!poll.Online) {
        return LampRed;
    }
    return ((poll.PollModulus / 2) & poll.PollCounter) != 0 ? LampGreen : LampOff;
}
} // namespace

TStatusBar::TStatusBar(const DisplayState& display, const PollState& poll, QWidget* parent)
    : QWidget(parent), Display(display), Poll(poll) {
    setFixedHeight(DesignHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TStatusBar::Scale(double scale) {
    StatusScale = scale;
    for (int panel = 0; panel < StatusPanel::Online; ++panel) {
        auto& width = Widths[static_cast<size_t>(panel)];
        width = static_cast<int>(std::trunc(width * scale));
    }
    setFixedHeight(static_cast<int>(std::trunc(height() * scale)) + 1);
}

void TStatusBar::SetPanelText(int panel, const std::string& text) {
    if (panel >= 0 && panel < StatusPanel::Count) {
        Texts[static_cast<size_t>(panel)] = FromAnsi(text);
        update();
    }
}

QSize TStatusBar::sizeHint() const {
    int width = 0;
    for (int w : Widths) {
        width += w;
    }
    return {width, height()};
}

QRect TStatusBar::PanelRect(int panel) const {
    int left = 0;
    for (int i = 0; i < panel; ++i) {
        left += Widths[static_cast<size_t>(i)];
    }
    // The last panel takes what is left of the bar, as a status bar's last panel does.
    const int panelWidth = panel == StatusPanel::Online ? std::max(width(), left + Widths[5]) - left
                                                        : Widths[static_cast<size_t>(panel)];
    return {left, 1, panelWidth - 2, height() - 2};
}

QPoint TStatusBar::OutputLampTopLeft(int output) const {
    const QRect r = PanelRect(StatusPanel::Outputs);
    int x = r.left() + static_cast<int>(std::trunc(35 * StatusScale));
    if (output == 2) {
        x += static_cast<int>(std::trunc(22 * StatusScale));
    }
    return {x, r.top() + LampOffset()};
}

QPoint TStatusBar::OutputLampCentre(int output) const {
    return OutputLampTopLeft(output) + QPoint(LampSize / 2, LampSize / 2);
}

QPoint TStatusBar::OnlineLampCentre() const {
    const QRect r = PanelRect(StatusPanel::Online);
    const int x = r.left() + (r.width() - LampSize) / 2;
    return {x + LampSize / 2, r.top() + LampOffset() + LampSize / 2};
}

void TStatusBar::DrawLamp(QPainter& painter, QPoint topLeft, const QColor& colour) const {
    painter.setPen(Qt::black);
    painter.setBrush(colour);
    painter.drawEllipse(QRect(topLeft, QSize(LampSize, LampSize)));
}

void TStatusBar::paintEvent(QPaintEvent* /*event*/) {
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
            continue;
        }
        const int align =
            panel == StatusPanel::Scanning ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r.adjusted(2, 0, -2, 0), align, Texts[static_cast<size_t>(panel)]);
    }
    const QRect outs = PanelRect(StatusPanel::Outputs);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(outs.left(), outs.top() + 1, outs.width(), outs.height() - 1),
                     Qt::AlignLeft | Qt::AlignTop, QStringLiteral(" Outs:"));
    DrawLamp(painter, OutputLampTopLeft(1), Display.Out1On ? LampGreen : LampOff);
    DrawLamp(painter, OutputLampTopLeft(2), Display.Out2On ? LampRed : LampOff);
    DrawLamp(painter, OnlineLampCentre() - QPoint(LampSize / 2, LampSize / 2),
             OnlineLampColour(Poll));
}

} // namespace vg

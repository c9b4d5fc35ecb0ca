#pragma once

#include "gui/StatusLamps.h"
#include "gui/StatusViews.h"
#include "link/CommSettings.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <array>

namespace vg {

// The six-panel live-status bar of the main, manual-mode and settings windows. Panels 1 and
// 5 are drawn by the program: the output lamps and the online lamp, as `lamps` holds them.
class StatusBarWidget : public QWidget, public StatusBarView {
    Q_OBJECT
public:
    static constexpr std::array<int, StatusPanel::Count> DesignWidths = {232, 76, 97, 102, 97, 22};
    static constexpr int DesignHeight = 20;

    explicit StatusBarWidget(const StatusLampState& lamps, QWidget* parent = nullptr);

    // Scales panels 0..4 and the height by `scale` (window width / 640); panel 5 keeps its
    // width.
    void Scale(double scale);
    double ScaleFactor() const { return StatusScale; }
    int PanelWidth(int panel) const { return Widths[static_cast<size_t>(panel)]; }

    // While these settings use the built-in simulated unit, panel 0 says so whenever it has
    // no message of the unit to show.
    void MarkSimulatedUnit(const CommSettings& settings) { Settings = &settings; }

    void SetPanelText(int panel, const std::string& text) override;
    void Repaint() override { update(); }
    QString PanelText(int panel) const { return Texts[static_cast<size_t>(panel)]; }
    // What the panel shows: its text, or in panel 0 the simulated unit's mark.
    QString ShownPanelText(int panel) const;
    // What a panel shows, in words: its text, and for the drawn panels the lamps' states.
    QString SpokenPanelText(int panel) const;
    QRect PanelRect(int panel) const;

    // Where the lamps are drawn, for whoever reads their colour back from a grab.
    QPoint OutputLampCentre(int output) const; // 1 or 2
    QPoint OnlineLampCentre() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelDrawing Drawing(int panel) const;
    void DrawOwnerPanel(QPainter& painter, int panel) const;
    void DrawOwnerText(QPainter& painter, const PanelDrawing& drawing, const QRect& panel) const;

    const StatusLampState& Lamps;
    const CommSettings* Settings = nullptr;
    std::array<int, StatusPanel::Count> Widths = DesignWidths;
    std::array<QString, StatusPanel::Count> Texts;
    double StatusScale = 1.0;
};

} // namespace vg

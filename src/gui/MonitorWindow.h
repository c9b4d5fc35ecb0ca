#pragma once

#include "gui/ProgramContext.h"
#include "status/StatusViews.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <array>
#include <cstdint>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace vg {

// The monitor window: outputs, zero position, scanning and the measured angle, the current
// tool with its values, the actual tool in the tool table, the unit's message and an online
// indicator. The status poll writes into it while it is open; it sends nothing itself.
class MonitorWindow : public QDialog, public MonitorView {
    Q_OBJECT
public:
    explicit MonitorWindow(ProgramContext& context, QWidget* parent = nullptr);

    // The main menu's Monitor Mode.
    void OpenFromMenu();

    void MonitorShowOutputs() override;
    void SetZeroPositionLamp(bool on) override;
    void SetScanningLamp(bool on) override;
    void SetMessage(const std::string& text) override;
    void SetCurrentAngle(const std::string& text) override;
    void MonitorShowLed() override;
    void MonitorShowTool() override;

    // The tool number last shown in the current tool box; -1 before the first.
    int16_t LastShownToolNr() const { return LastShownTool; }

    // state box
    QFrame* Panel6 = nullptr;
    QLabel* L_State = nullptr;
    QLabel* L_Out1 = nullptr;
    QLabel* P_Out1 = nullptr;
    QLabel* L_Out2 = nullptr;
    QLabel* P_Out2 = nullptr;
    QLabel* L_ZeroPosition = nullptr;
    QLabel* P_ZeroPosition = nullptr;
    QLabel* L_Scanning = nullptr;
    QLabel* P_Scanning = nullptr;
    QLabel* L_CurrentAngleX = nullptr;
    QLabel* L_CurrentAngle = nullptr;
    // current tool box
    QFrame* Panel11 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* L_ToolNr = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* L_TargetAngle = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* L_Tolerance = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* L_Intensity = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* L_Name = nullptr;
    // tool table
    std::array<QLabel*, 5> ColumnHeadings{};
    QListWidget* LB_MM_ToolPar = nullptr;
    // actual tool box
    QFrame* Panel7 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* L_ActToolNr = nullptr;
    // bottom row
    QLabel* P_Message = nullptr;
    QLabel* IMG_OnlineState = nullptr;
    QPushButton* BN_Close = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildStateBox();
    void BuildCurrentToolBox();
    void BuildActualToolBox();
    void BuildBottomRow();
    void FormActivate();
    void ShowCurrentTool(int16_t toolNr);
    void SetLamp(QLabel* lamp, const QColor& colour);
    QColor ButtonFace() const;
    void BN_CloseClick();

    ProgramContext& Context;
    QImage OnlineCanvas;
    // Kept from one opening to the next, as the box keeps showing that tool.
    int16_t LastShownTool = -1;
};

} // namespace vg

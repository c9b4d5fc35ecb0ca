#pragma once

#include "gui/ProgramContext.h"
#include "gui/StatusViews.h"

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
// indicator. The live status is drawn into it while it is open; it sends nothing itself.
class MonitorWindow : public QDialog, public MonitorView {
    Q_OBJECT
public:
    explicit MonitorWindow(ProgramContext& context, QWidget* parent = nullptr);
    ~MonitorWindow() override;

    // The main menu's Monitor Mode.
    void OpenFromMenu();

    void MonitorShowOutputs() override;
    void SetZeroPositionLamp(bool on) override;
    void SetScanningLamp(bool on) override;
    void SetMessage(const std::string& text) override;
    void SetCurrentAngle(const std::string& text) override;
    void MonitorShowLed() override;
    void MonitorShowTool(int kind, int toolNr) override;

    // The tool number last shown in the current tool box; -1 before the first.
    int16_t LastShownToolNr() const { return LastShownTool; }

    // state box
    QFrame* StateFrame = nullptr;
    QLabel* StateHeading = nullptr;
    QLabel* Output1Caption = nullptr;
    QLabel* Output1Lamp = nullptr;
    QLabel* Output2Caption = nullptr;
    QLabel* Output2Lamp = nullptr;
    QLabel* ZeroPositionCaption = nullptr;
    QLabel* ZeroPositionLamp = nullptr;
    QLabel* ScanningCaption = nullptr;
    QLabel* ScanningLamp = nullptr;
    QLabel* MeasuredAngleCaption = nullptr;
    QLabel* MeasuredAngleValue = nullptr;
    // current tool box
    QFrame* CurrentToolFrame = nullptr;
    QLabel* CurrentToolHeading = nullptr;
    QLabel* ToolNumberCaption = nullptr;
    QLabel* ToolNumberValue = nullptr;
    QLabel* TargetAngleCaption = nullptr;
    QLabel* TargetAngleValue = nullptr;
    QLabel* ToleranceCaption = nullptr;
    QLabel* ToleranceValue = nullptr;
    QLabel* IntensityCaption = nullptr;
    QLabel* IntensityValue = nullptr;
    QLabel* NameCaption = nullptr;
    QLabel* NameValue = nullptr;
    // tool table
    std::array<QLabel*, 5> ColumnHeadings{};
    QListWidget* ToolList = nullptr;
    // actual tool box
    QFrame* ActualToolFrame = nullptr;
    QLabel* ActualToolCaption = nullptr;
    QLabel* ActualToolValue = nullptr;
    // bottom row
    QLabel* MessagePanel = nullptr;
    QLabel* OnlineLamp = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildStateFrame();
    void BuildCurrentToolFrame();
    void BuildActualToolFrame();
    void BuildBottomRow();
    void PrepareToShow();
    void ShowCurrentTool(int16_t toolNr);
    void SetLamp(QLabel* lamp, const QColor& colour);
    QColor ButtonFace() const;
    void CloseClicked();

    ProgramContext& Context;
    QImage OnlineCanvas;
    // Kept from one opening to the next, as the box keeps showing that tool.
    int16_t LastShownTool = -1;
};

} // namespace vg

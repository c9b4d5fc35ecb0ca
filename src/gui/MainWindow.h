#pragma once

#include "gui/KeptPlace.h"
#include "gui/ProgramContext.h"
#include "status/StatusEvents.h"

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;
class QTimer;

namespace vg {

class StatusBarWidget;

// The main window: menus, the picture and the live-status bar. Its timer drives the status
// poll, whose events it passes on to the other windows.
class MainWindow : public QMainWindow, public StatusEvents {
    Q_OBJECT
public:
    static constexpr int DesignedInterval = 700;
    static constexpr int OnlineInterval = 120;

    explicit MainWindow(ProgramContext& context);
    ~MainWindow() override;

    // "[simulated unit]" after the caption while fieldbus mode uses the built-in unit.
    void ShowUnitInTitle();
    // Fixes the window's size to its contents, places it on the screen and scales the status
    // bar to its width (at start, once the settings are read).
    void SettleOnScreen();
    // Options > "Verify after saving to the unit": whether a save to the unit is read back
    // and checked. Kept in the windows' own settings file.
    bool VerifyAfterSave() const;

    // Places `window` where the main window is, hides the main window while `window` is
    // shown modally, and brings it back afterwards.
    void OpenWorkingWindow(QDialog* window, WindowInFront front);

    // StatusEvents
    void PollIntervalChanged(int milliseconds) override;
    // The source chooser's unit button, Monitor Mode and Compare with File need the unit.
    void UnitReachableChanged(bool reachable) override;
    void MeasuredAngleTaken(int32_t hundredths) override;
    void ToolAngleTaught(int toolNr) override;
    void EditorAngleTaught(double degrees) override;
    void LinkOpenFailed(ErrorCode error) override;

    // Whether the unit answered when the poll last looked: the source chooser offers the unit
    // only then.
    bool UnitAnswers() const { return Answers; }

    QAction* OpenAction = nullptr;
    QAction* QuitAction = nullptr;
    QAction* ManualModeAction = nullptr;
    QAction* MonitorModeAction = nullptr;
    QAction* CompareWithFileAction = nullptr;
    QAction* CommunicationAction = nullptr;
    QAction* VerifyAfterSaveAction = nullptr;
    QAction* TraceLineTrafficAction = nullptr;
    QAction* HelpAction = nullptr;
    QAction* AboutAction = nullptr;
    QFrame* PictureFrame = nullptr;
    QLabel* Picture = nullptr;
    StatusBarWidget* StatusBar = nullptr;
    QTimer* PollTimer = nullptr;

signals:
    void UnitAnswersChanged(bool answers);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void BuildClientArea();
    void PlaceOnScreen();
    void ShutDown();
    void PollTimerTick();
    void OpenTriggered();
    void ManualModeTriggered();
    void MonitorModeTriggered();
    void CommunicationTriggered();
    void CompareWithFileTriggered();
    void VerifyAfterSaveToggled(bool checked);
    void TraceLineTrafficToggled(bool checked);
    void HelpTriggered();
    void AboutTriggered();

    ProgramContext& Context;
    bool Destroyed = false;
    bool Answers = false;
    // Where the communication dialog and the about box, built for each use, were last.
    KeptPlace CommunicationPlace;
    KeptPlace AboutPlace;
};

// Where the main window goes on a screen: centred, or at the top left of a screen less than
// 600 pixels high.
QPoint MainWindowPosition(const QRect& screen, const QSize& frame);

// Scales a status bar to a window width (width / 640) and records the factor.
void ScaleStatusBar(ProgramContext& context, StatusBarWidget& bar, int windowWidth);

} // namespace vg

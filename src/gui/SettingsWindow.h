#pragma once

#include "gui/KeptPlace.h"
#include "gui/ProgramContext.h"
#include "gui/ToolEditContext.h"
#include "link/DeviceMessage.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vg {

class PrinterChoice;
class ToolEditor;
class NumberField;
class RadioGroup;
class StatusBarWidget;

// The settings window: the tool table, the global and the default settings of the loaded
// configuration. It edits ConfigImage and the names in place; whether anything changed is a
// byte comparison with the snapshots.
//
// Activation: opening the window (its show, which exec() does) runs PrepareToShow in full.
// Nothing listens to window activation: returning from a modal child (the editor, a message
// box, the chooser) must run none of it, and after a transfer or a print started here only
// steps 1 and 2 run, which the handlers that start them call themselves (JobEnded). Qt hands
// activation back late, after TransferBusy was cleared, so the activation event could not
// tell a job's end from a real activation.
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int ToolPage = 0;
    static constexpr int GlobalPage = 1;
    static constexpr int DefaultPage = 2;

    explicit SettingsWindow(ProgramContext& context, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    // Told by the status poll.
    void MeasuredAngleShown(int32_t hundredths);
    void ToolAngleTaught(int toolNr);
    void EditorAngleTaught(double degrees);

    // Where PrintButton prints; the default printer unless set (the window does not own it).
    void SetPrinterChoice(PrinterChoice* choice);

    DeviceRequest BuildMoveRequest(uint8_t code) const;

    // What the single-tool editor starts from and leaves behind; kept from one use of the
    // editor to the next.
    ToolEditContext ToolEdit;
    // The single-tool editor while it is open, built for each New or Change; null otherwise.
    ToolEditor* OpenEditor() const { return Editor; }

    QTabWidget* PageTabs = nullptr;
    QWidget* ToolTab = nullptr;
    QWidget* GlobalTab = nullptr;
    QWidget* DefaultTab = nullptr;

    QListWidget* ToolList = nullptr;
    QPushButton* TeachButton = nullptr;
    QPushButton* StartButton = nullptr;
    QPushButton* ChangeButton = nullptr;
    QPushButton* NewButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QGroupBox* TargetAngleBox = nullptr;
    QRadioButton* AngleFromTableButton = nullptr;
    QRadioButton* CurrentAngleButton = nullptr;
    NumberField* TargetAngleField = nullptr;
    QGroupBox* GlobalsBox = nullptr;
    QLabel* RotationDirectionLabel = nullptr;
    QLabel* ScannerLabel = nullptr;
    QLabel* ToolCountLabel = nullptr;

    QLineEdit* FirmwareVersionField = nullptr;
    QComboBox* ScannerBox = nullptr;
    RadioGroup* Output1PolarityGroup = nullptr;
    RadioGroup* Output2PolarityGroup = nullptr;
    RadioGroup* SignalModeGroup = nullptr;
    RadioGroup* ReturnTravelMonitoringGroup = nullptr;
    RadioGroup* MonitoringGroup = nullptr;
    RadioGroup* PulseTimeGroup = nullptr;
    NumberField* PulseTimeField = nullptr;
    RadioGroup* RotationDirectionGroup = nullptr;
    RadioGroup* PowerOnMoveGroup = nullptr;

    NumberField* DefaultAngleField = nullptr;
    NumberField* DefaultToleranceField = nullptr;
    RadioGroup* DefaultIntensityGroup = nullptr;

    QPushButton* PrintButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* SaveAsButton = nullptr;
    QPushButton* CloseButton = nullptr;
    StatusBarWidget* StatusBar = nullptr;

    // The help topic F1 shows: that of the page in front.
    int CurrentHelpContext() const;

public slots:
    // Every way of closing passes here: CloseButton (OK), the close box and Escape (Cancel).
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildToolPage();
    QWidget* BuildGlobalPage();
    QWidget* BuildDefaultPage();

    void BuildWidgets();
    void PrepareToShow();
    // Steps 1 and 2 of PrepareToShow: what a transfer or print started here needs afterwards.
    void ActivateStatusAndCaption();
    void JobEnded() { ActivateStatusAndCaption(); }
    bool MayClose();

    void FillGlobalPage();
    void ReadPagesIntoImage(ConfigImage& target) const;
    bool GlobalsChanged(const ConfigImage& record) const;
    void UpdateToolButtons();
    void ShowToolLines(int selectLine);
    // The angle TargetAngleField shows for the chosen source.
    void ShowTargetAngle();
    // The tool on the selected line, -1 for none.
    int SelectedTool() const;
    // A number field still being edited is left, so it clamps as leaving does, before the
    // pages are read.
    void FinishFieldEdit();
    // After a save that failed: the settings come back from the snapshot, the tools stay as
    // edited.
    void RestoreSettingsFromSnapshot();
    bool SaveWithWindows();

    void PageChanged(int page);
    void AskAboutChangedGlobals();
    void ToolTabEntered();
    void ScannerChanged(int index);
    void PulseTimeGroupClicked();
    void ToolListClicked();
    void NewClicked();
    void ChangeClicked();
    void DeleteClicked();
    // Builds the editor on ToolEdit, runs it and shows what it stored.
    void RunEditor();
    void ReselectAfterEditor();
    void AngleFromTableClicked();
    void CurrentAngleClicked();
    void StartClicked();
    void TeachClicked();
    void SaveClicked();
    void SaveAsClicked();
    void PrintClicked();

    ProgramContext& Context;
    ToolEditor* Editor = nullptr;
    KeptPlace EditorPlace; // where the last editor was
    int PreviousPage = GlobalPage;
    int LastPulseTime = 20;
    // Set while the window itself switches pages, so the switch is not taken for the user's.
    bool SwitchingPage = false;
    std::unique_ptr<PrinterChoice> DefaultPrinters;
    PrinterChoice* Printers = nullptr;
};

} // namespace vg

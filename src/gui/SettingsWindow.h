#pragma once

#include "gui/ProgramContext.h"
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
class NumberField;
class RadioGroup;
class StatusBarWidget;

// The settings window: the tool table, the global and the default settings of the loaded
// configuration. It edits ConfigImage and the names in place; whether anything changed is a
// byte comparison with the snapshots.
//
// Activation: opening the window (its show, which exec() does) runs FormActivate in full.
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

    // Where BN_Print prints; the default printer unless set (the window does not own it).
    void SetPrinterChoice(PrinterChoice* choice);

    DeviceRequest BuildMoveRequest(uint8_t code) const;

    QTabWidget* PGC_Settings = nullptr;
    QWidget* TS_ToolSettings = nullptr;
    QWidget* TS_GlobalSettings = nullptr;
    QWidget* TS_DefaultSettings = nullptr;

    QListWidget* LB_TS_ToolPar = nullptr;
    QPushButton* BN_Teach = nullptr;
    QPushButton* BN_Start = nullptr;
    QPushButton* BN_Change = nullptr;
    QPushButton* BN_New = nullptr;
    QPushButton* BN_Delete = nullptr;
    QGroupBox* GB_TargetAngle = nullptr;
    QRadioButton* RB_AngleFromTable = nullptr;
    QRadioButton* RB_CurrentAngle = nullptr;
    NumberField* EB_AngleVal = nullptr;
    QGroupBox* GB_Globals = nullptr;
    QLabel* L_TS_RotDir = nullptr;
    QLabel* L_TS_Scanner = nullptr;
    QLabel* L_ToolAnz = nullptr;

    QLineEdit* EB_GS_FirmSoftwareVersion = nullptr;
    QComboBox* CB_GS_Scanner = nullptr;
    RadioGroup* RBG_GS_Out1 = nullptr;
    RadioGroup* RBG_GS_Out2 = nullptr;
    RadioGroup* RBG_GS_SignalMode = nullptr;
    RadioGroup* RBG_GS_ReturnTrvMon = nullptr;
    RadioGroup* RBG_GS_Mon = nullptr;
    RadioGroup* RBG_GS_OutPulseTime = nullptr;
    NumberField* EB_GS_OutPulseTime = nullptr;
    RadioGroup* RBG_GS_RotDir = nullptr;
    RadioGroup* RBG_GS_PowerOnMove = nullptr;

    NumberField* EB_DS_DefaultAngle = nullptr;
    NumberField* EB_DS_DefaultTolerance = nullptr;
    RadioGroup* RBG_DS_DefaultIntensity = nullptr;

    QPushButton* BN_Print = nullptr;
    QPushButton* BN_Save = nullptr;
    QPushButton* BN_SaveAs = nullptr;
    QPushButton* BN_Close = nullptr;
    StatusBarWidget* StatusBar1 = nullptr;

    // The help topic F1 shows: that of the page in front.
    int CurrentHelpContext() const;

public slots:
    // Every way of closing passes here: BN_Close (OK), the close box and Escape (Cancel).
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildToolPage();
    QWidget* BuildGlobalPage();
    QWidget* BuildDefaultPage();

    void FormCreate();
    void FormActivate();
    // Steps 1 and 2 of FormActivate: what a transfer or print started here needs afterwards.
    void ActivateStatusAndCaption();
    void JobEnded() { ActivateStatusAndCaption(); }
    bool FormCloseQuery();

    void FillGlobalPage();
    void ReadPagesIntoImage(ConfigImage& target) const;
    bool GlobalsChanged(const ConfigImage& record) const;
    void UpdateToolButtons();
    void ShowToolLines(int selectLine);
    // The angle EB_AngleVal shows for the chosen source.
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

    void PGC_SettingsChange(int page);
    void AskAboutChangedGlobals();
    void TS_ToolSettingsEnter();
    void CB_GS_ScannerChange(int index);
    void RBG_GS_OutPulseTimeClick();
    void LB_TS_ToolParClick();
    void BN_NewClick();
    void BN_ChangeClick();
    void BN_DeleteClick();
    void ReselectAfterEditor();
    void RB_AngleFromTableClick();
    void RB_CurrentAngleClick();
    void BN_StartClick();
    void BN_TeachClick();
    void BN_SaveClick();
    void BN_SaveAsClick();
    void BN_PrintClick();

    ProgramContext& Context;
    int PreviousPage = GlobalPage;
    int LastPulseTime = 20;
    // Set while the window itself switches pages, so the switch is not taken for the user's.
    bool SwitchingPage = false;
    std::unique_ptr<PrinterChoice> DefaultPrinters;
    PrinterChoice* Printers = nullptr;
};

} // namespace vg

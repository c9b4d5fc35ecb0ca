#pragma once

#include "gui/ProgramContext.h"

#include <QDialog>

class QPushButton;

namespace vg {

// The source chooser: load from the unit or from a file, or, in save mode, where to save.
class TDlg_SrcAuswahl : public QDialog {
    Q_OBJECT
public:
    explicit TDlg_SrcAuswahl(ProgramContext& context, QWidget* parent = nullptr);

    QPushButton* BN_Vigilo = nullptr;
    QPushButton* BN_File = nullptr;
    QPushButton* BN_Cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void BN_VigiloClick();
    void BN_FileClick();
    void ChooseFileToLoad();
    void ChooseFileToSave();
    // Shows the naming rule's message when `path` breaks it; true when it passes.
    bool CheckFileName(const QString& path);
    QString DataDirectory() const;

    ProgramContext& Context;
};

// Runs the chooser in load mode and loads what was chosen; true when a configuration was
// loaded.
bool SelectAndLoad(ProgramContext& context);

} // namespace vg

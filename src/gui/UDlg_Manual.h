#pragma once

#include "gui/ProgramContext.h"

#include <QDialog>

namespace vg {

// The manual-mode window.
class TDlg_Manual : public QDialog {
    Q_OBJECT
public:
    explicit TDlg_Manual(ProgramContext& context, QWidget* parent = nullptr);

    // The main menu's Manual Mode.
    void OpenFromMenu();

private:
    ProgramContext& Context;
};

} // namespace vg

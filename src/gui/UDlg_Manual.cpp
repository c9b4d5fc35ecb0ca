#include "gui/UDlg_Manual.h"

namespace vg {

TDlg_Manual::TDlg_Manual(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(QStringLiteral("VG-Config / Manual Mode"));
}

void TDlg_Manual::OpenFromMenu() {}

} // namespace vg

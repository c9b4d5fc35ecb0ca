#include "gui/UDlg_Monitor.h"

namespace vg {

TDlg_Monitor::TDlg_Monitor(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(QStringLiteral("VG-Config / Monitor Mode"));
}

void TDlg_Monitor::OpenFromMenu() {}

} // namespace vg

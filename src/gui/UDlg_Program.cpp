#include "gui/UDlg_Program.h"

namespace vg {

TDlg_Program::TDlg_Program(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(QStringLiteral("VG-Config / Settings"));
}

void TDlg_Program::MeasuredAngleShown(int32_t /*hundredths*/) {}

void TDlg_Program::ToolAngleTaught(int /*toolNr*/) {}

void TDlg_Program::EditorAngleTaught(double /*degrees*/) {}

} // namespace vg

#include "gui/UDLG_Set1Tool.h"

namespace vg {

TDLG_Set1Tool::TDLG_Set1Tool(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(QStringLiteral("Setting Tool"));
}

} // namespace vg

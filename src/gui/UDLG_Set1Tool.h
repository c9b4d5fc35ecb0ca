#pragma once

#include "gui/ProgramContext.h"

#include <QDialog>

namespace vg {

// The single-tool editor.
class TDLG_Set1Tool : public QDialog {
    Q_OBJECT
public:
    explicit TDLG_Set1Tool(ProgramContext& context, QWidget* parent = nullptr);

private:
    ProgramContext& Context;
};

} // namespace vg

#pragma once

#include "gui/ProgramContext.h"

#include <QDialog>

namespace vg {

// The settings window: tool table, global and default settings.
class TDlg_Program : public QDialog {
    Q_OBJECT
public:
    explicit TDlg_Program(ProgramContext& context, QWidget* parent = nullptr);

    // Told by the status poll.
    void MeasuredAngleShown(int32_t hundredths);
    void ToolAngleTaught(int toolNr);
    void EditorAngleTaught(double degrees);

private:
    ProgramContext& Context;
};

} // namespace vg

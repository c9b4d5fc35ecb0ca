#pragma once

#include "gui/ProgramContext.h"
#include "gui/ToolTable.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace vg {

class StatusBarWidget;

// The manual-mode window: sends the scanner to a tool's position or back home while its own
// status bar shows the live status.
class ManualWindow : public QDialog {
    Q_OBJECT
public:
    explicit ManualWindow(ProgramContext& context, QWidget* parent = nullptr);

    // The main menu's Manual Mode.
    void OpenFromMenu();

    QPushButton* BN_GoPos = nullptr;
    QPushButton* BN_GoBack = nullptr;
    QPushButton* BN_Close = nullptr;
    std::array<QLabel*, 5> ColumnHeadings{};
    QListWidget* LB_MM_ToolPar = nullptr;
    StatusBarWidget* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void BN_GoPosClick();
    void BN_GoBackClick();
    void BN_CloseClick();

    ProgramContext& Context;
};

} // namespace vg

#pragma once

#include "gui/ProgramContext.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace vg {

class TStatusBar;

// The tool table of the manual-mode and monitor windows: five column headings over the lines
// of ToolLines, in a fixed-pitch font so that the columns line up under the headings.
struct ToolTable {
    std::array<QLabel*, 5> Headings{}; // Panel1 .. Panel5
    QListWidget* List = nullptr;       // LB_MM_ToolPar
};

// `area` takes the headings and, below them, the list.
ToolTable CreateToolTable(QWidget* parent, const QRect& area);
void FillToolTable(QListWidget& list, const std::vector<std::string>& lines);
// Selects `line`; -1, or a line the list does not have, leaves nothing selected.
void SelectToolLine(QListWidget& list, int line);
// The selected line; -1 when nothing is selected.
int SelectedToolLine(const QListWidget& list);

// The manual-mode window: sends the scanner to a tool's position or back home while its own
// status bar shows the live status.
class TDlg_Manual : public QDialog {
    Q_OBJECT
public:
    explicit TDlg_Manual(ProgramContext& context, QWidget* parent = nullptr);

    // The main menu's Manual Mode.
    void OpenFromMenu();

    QPushButton* BN_GoPos = nullptr;
    QPushButton* BN_GoBack = nullptr;
    QPushButton* BN_Close = nullptr;
    std::array<QLabel*, 5> ColumnHeadings{};
    QListWidget* LB_MM_ToolPar = nullptr;
    TStatusBar* StatusBar1 = nullptr;

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

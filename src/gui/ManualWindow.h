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

    QPushButton* GoToAngleButton = nullptr;
    QPushButton* GoBackButton = nullptr;
    QPushButton* CloseButton = nullptr;
    std::array<QLabel*, 5> ColumnHeadings{};
    QListWidget* ToolList = nullptr;
    StatusBarWidget* StatusBar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PrepareToShow();
    void GoToAngleClicked();
    void GoBackClicked();
    void CloseClicked();

    ProgramContext& Context;
};

} // namespace vg

#pragma once

#include "gui/ProgramContext.h"

#include <QDialog>
#include <optional>

class QPushButton;

namespace vg {

// The source chooser: load from the unit or from a file, or, in save mode, where to save.
class SourceChooser : public QDialog {
    Q_OBJECT
public:
    explicit SourceChooser(ProgramContext& context, QWidget* parent = nullptr);

    QPushButton* UnitButton = nullptr;
    QPushButton* FileButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The file side of the chooser on its own: the open dialog in CD_DATA until a name that
    // follows the naming rule is chosen, its identifier going into `target` (the state the
    // file will be loaded into, not necessarily the program's). Nothing when cancelled.
    std::optional<QString> ChooseFileToOpen(ConfigState& target);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PrepareToShow();
    void UnitClicked();
    void FileClicked();
    void ChooseFileToLoad();
    void ChooseFileToSave();
    // Shows the naming rule's message when `path` breaks it; true when it passes. The
    // identifier of the name goes into `target`.
    bool CheckFileName(const QString& path, ConfigState& target);
    QString DataDirectory() const;

    ProgramContext& Context;
};

// Runs the chooser in load mode and loads what was chosen; true when a configuration was
// loaded.
bool SelectAndLoad(ProgramContext& context);

} // namespace vg

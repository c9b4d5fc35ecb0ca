#pragma once

#include "config/model/ConfigState.h"
#include "gui/ProgramContext.h"

#include <QDialog>
#include <optional>
#include <string>

class QPushButton;

namespace vg {

// What the source chooser is opened for: where to load from or where to save to.
enum class ChooserPurpose : std::uint8_t { Load, Save };

// What the source chooser starts from.
struct ChooserInputs {
    ChooserPurpose Purpose = ChooserPurpose::Load;
    std::string DataDir;      // the folder that holds CD_DATA, where the file dialogs start
    std::string ProposedFile; // in save mode, the name the save dialog shows first
    bool UnitAnswers = false; // the unit is offered only while it answers
};

// What the user chose. Nothing is chosen (Source None) when the chooser or its file dialog
// was cancelled.
struct SourceChoice {
    ConfigSource Source = ConfigSource::None;
    std::string FileName; // with Source File: the chosen path, whose name carries an identifier
    bool FileDialogShown = false;
};

// The source chooser: load from the unit or from a file, or, in save mode, where to save.
// Built for one question; it changes nothing but its own choice.
class SourceChooser : public QDialog {
    Q_OBJECT
public:
    SourceChooser(const ChooserInputs& inputs, MessageService& messages, FileDialogs& files,
                  QWidget* parent = nullptr);

    const SourceChoice& Choice() const { return Chosen; }
    // The unit comes and goes while the chooser is open.
    void SetUnitAnswers(bool answers);

    QPushButton* UnitButton = nullptr;
    QPushButton* FileButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void UnitClicked();
    void FileClicked();
    void ChooseFileToLoad();
    void ChooseFileToSave();

    ChooserInputs Inputs;
    MessageService& Messages;
    FileDialogs& Files;
    SourceChoice Chosen;
};

// The file side of the chooser on its own: the open dialog in target.DataDir's CD_DATA until a
// name that follows the naming rule is chosen, its identifier going into `target` (the state
// the file will be loaded into, not necessarily the program's). Nothing when cancelled.
std::optional<QString> ChooseFileToOpen(MessageService& messages, FileDialogs& files,
                                        ConfigState& target, QWidget* parent);

// What the chooser starts from when it is opened for `purpose` on the program's configuration.
ChooserInputs ChooserInputsFor(ProgramContext& context, ChooserPurpose purpose);

// Opens the chooser for `purpose` on the program's configuration and returns the choice; the
// caller applies it. The unit button follows the unit while the chooser is open.
SourceChoice ChooseSource(ProgramContext& context, ChooserPurpose purpose);

// Runs the chooser in load mode and loads what was chosen; true when a configuration was
// loaded.
bool SelectAndLoad(ProgramContext& context);

} // namespace vg

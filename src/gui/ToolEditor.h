#pragma once

#include "gui/ProgramContext.h"
#include "gui/ToolEditContext.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vg {

class NumberField;
class RadioGroup;

// The single-tool editor: number, name, angle, tolerance and intensity of one tool. It starts
// from ToolEditContext, and when it closes it decides by how it was closed and by what changed
// whether the tool is stored in the image; EditTool tells the settings window which.
class ToolEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr int NameLength = 30;

    // Built by the settings window for one use: it starts from `edit` and leaves its outcome
    // there.
    ToolEditor(ProgramContext& context, ToolEditContext& edit, QWidget* parent = nullptr);

    // A teach started here ended with this angle.
    void TaughtAngle(double degrees);
    // The number the tool would be stored under: the proposal while it shows, else the chosen
    // entry; -1 when there is none.
    int ToolNumberInForce() const;

    QComboBox* ToolNumberBox = nullptr;
    QLineEdit* ToolNumberProposal = nullptr;
    QLineEdit* ToolNameField = nullptr;
    NumberField* AngleField = nullptr;
    QPushButton* TeachButton = nullptr;
    NumberField* ToleranceField = nullptr;
    RadioGroup* IntensityGroup = nullptr;
    QPushButton* CloseButton = nullptr;
    QPushButton* CancelButton = nullptr;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape is the Cancel button, as Enter is Ok; the close box keeps its question.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildWidgets();
    void PrepareToShow();
    void ToolNumberChanged();
    void TeachClicked();
    void StoreOnClose(int result);
    bool ChangedFromStored(int toolNr) const;
    void Store(int toolNr);

    ProgramContext& Context;
    ToolEditContext& Edit;
    bool ClosingByButton = false;
};

} // namespace vg

#include "gui/ToolEditor.h"

#include "config/model/TextFormats.h"
#include "config/model/ValueRanges.h"
#include "gui/HelpViewer.h"
#include "gui/MoveRequest.h"
#include "gui/NumberField.h"
#include "gui/RadioGroup.h"
#include "gui/TextCodec.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace vg {

namespace {

NumberField* MakeDegreeField(QWidget* parent) {
    auto* field = new NumberField(parent);
    field->SetStyle(NumberStyle::Float);
    field->SetDecimalPlaces(2);
    field->SetValue(0);
    return field;
}

QLabel* MakeLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

// The field's value brought into its range, as leaving it would.
void ClampIntoRange(NumberField* field) {
    const double value = field->Value();
    if (value > field->Range().MaxValue()) {
        field->SetValue(field->Range().MaxValue());
    } else if (value < field->Range().MinValue()) {
        field->SetValue(field->Range().MinValue());
    }
}

long long Hundredths(double degrees) {
    return std::llround(degrees * 100.0);
}

} // namespace

ToolEditor::ToolEditor(ProgramContext& context, ToolEditContext& edit, QWidget* parent)
    : QDialog(parent), Context(context), Edit(edit) {
    setWindowTitle(tr("Setting Tool"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    // The proposal lies over the list's text and lets the mouse through to it, so a click
    // still opens the list, and keys go to the list too. It takes no input of its own, yet it
    // looks like the input it stands for, not greyed out.
    auto* toolNr = new QWidget(this);
    ToolNumberBox = new QComboBox(toolNr);
    ToolNumberBox->setFixedWidth(96);
    ToolNumberProposal = new QLineEdit(toolNr);
    ToolNumberProposal->setReadOnly(true);
    ToolNumberProposal->setFocusPolicy(Qt::NoFocus);
    ToolNumberProposal->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The label's buddy lies in the box with the proposal: name both for what they are.
    ToolNumberBox->setAccessibleName(tr("Tool-Nr:"));
    ToolNumberProposal->setAccessibleName(tr("Tool-Nr:"));
    ToolNumberProposal->setFixedSize(72, ToolNumberBox->sizeHint().height());
    auto* stack = new QGridLayout(toolNr);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(ToolNumberBox, 0, 0);
    stack->addWidget(ToolNumberProposal, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    ToolNumberProposal->raise();

    ToolNameField = new QLineEdit(this);
    ToolNameField->setMaxLength(NameLength);
    // A longer name from a file written elsewhere stays whole; the user can shorten it, but
    // never type past the limit.
    connect(ToolNameField, &QLineEdit::textEdited, this, [this](const QString& text) {
        ToolNameField->setMaxLength(
            std::max<int>(NameLength, std::min<int>(ToolNameField->maxLength(), text.size())));
    });
    AngleField = MakeDegreeField(this);
    TeachButton = new QPushButton(tr("&Teach"), this);
    TeachButton->setAutoDefault(false);
    ToleranceField = MakeDegreeField(this);
    IntensityGroup = new RadioGroup(
        tr(" &Intensity"), {tr(" Ultra-Low"), tr(" Low"), tr(" Medium"), tr(" High")}, this);
    CloseButton = new QPushButton(tr("&Ok"), this);
    CloseButton->setDefault(true);
    CancelButton = new QPushButton(tr("&Cancel"), this);
    CancelButton->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(MakeLabel(tr(" T&ool-Nr:"), ToolNumberBox, this), 0, 0);
    fields->addWidget(toolNr, 0, 1, Qt::AlignLeft);
    fields->addWidget(MakeLabel(tr("Tool-&Name: "), ToolNameField, this), 1, 0);
    fields->addWidget(ToolNameField, 1, 1, 1, 2);
    fields->addWidget(MakeLabel(tr(" &Angle:"), AngleField, this), 2, 0);
    fields->addWidget(AngleField, 2, 1);
    fields->addWidget(TeachButton, 2, 2);
    fields->addWidget(MakeLabel(tr("To&lerance:"), ToleranceField, this), 3, 0);
    fields->addWidget(ToleranceField, 3, 1);
    fields->addWidget(IntensityGroup, 4, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ToolNumberBox, &QComboBox::activated, this, &ToolEditor::ToolNumberChanged);
    connect(TeachButton, &QPushButton::clicked, this, &ToolEditor::TeachClicked);
    connect(CloseButton, &QPushButton::clicked, this, [this] {
        ClosingByButton = true;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        ClosingByButton = true;
        reject();
    });
    InstallContextHelp(this, Context.Help, HelpContext::SingleTool);
    BuildWidgets();
}

void ToolEditor::BuildWidgets() {
    AngleField->Range().SetMinValue(AngleFieldRange.Min);
    AngleField->Range().SetMaxValue(AngleFieldRange.Max);
    ToleranceField->Range().SetMinValue(ToleranceFieldRange.Min);
    ToleranceField->Range().SetMaxValue(ToleranceFieldRange.Max);
}

void ToolEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        PrepareToShow();
    }
}

void ToolEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        CancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ToolEditor::PrepareToShow() {
    const ConfigState& config = Context.Core.Config;
    ToolEditContext& edit = Edit;
    TeachButton->setEnabled(config.ConfigSource == ConfigSource::Unit);
    ToolNumberBox->setFocus();
    ToolNumberProposal->show();
    ToolNumberBox->clear();

    edit.EditTool = edit.EditMode == ToolEditNew || edit.StartLine == -1
                        ? -1
                        : ToolNumberOfLine(config, edit.StartLine);
    // The numbers offered are the free slots and the tool's own, whatever the unit holds.
    for (int i = 0; i < ToolSlotCount; ++i) {
        if (config.ConfigImage.Tools[static_cast<size_t>(i)].Programmed == 0 ||
            i == edit.EditTool) {
            ToolNumberBox->addItem(QString::number(i));
        }
    }
    ToolNumberBox->setCurrentIndex(ToolNumberBox->count() > 0 ? 0 : -1);

    if (edit.EditTool == -1) {
        setWindowTitle(tr("Setting New Tool"));
        ToolNumberProposal->setText(ToolNumberBox->currentText());
        edit.PresetName.clear();
    } else {
        setWindowTitle(tr("Setting Tool"));
        const auto tool = static_cast<size_t>(edit.EditTool);
        edit.Preset = config.ConfigImage.Tools[tool];
        const QString number = QString::number(edit.EditTool);
        ToolNumberBox->setCurrentIndex(ToolNumberBox->findText(number));
        ToolNumberProposal->setText(number);
        const ToolNameRecord& name = config.ToolNameTable[tool];
        edit.PresetName = name.Defined != 0 ? ToolNameText(name) : std::string();
    }
    const QString name = FromAnsi(edit.PresetName);
    ToolNameField->setMaxLength(std::max<int>(NameLength, name.size()));
    ToolNameField->setText(name);
    AngleField->SetValue(edit.Preset.Angle);
    ToleranceField->SetValue(edit.Preset.Tolerance);
    IntensityGroup->SetItemIndex(edit.Preset.Intensity);
    ClosingByButton = false;
}

int ToolEditor::ToolNumberInForce() const {
    const QString text =
        ToolNumberProposal->isHidden() ? ToolNumberBox->currentText() : ToolNumberProposal->text();
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok && number >= 0 && number < ToolSlotCount ? number : -1;
}

void ToolEditor::ToolNumberChanged() {
    ToolNumberProposal->hide();
}

void ToolEditor::TeachClicked() {
    const int toolNr = ToolNumberInForce();
    if (toolNr < 0) {
        return;
    }
    Context.Core.Status.QueueCommand(BuildTeachRequest(Context.Core.Config.ConfigImage));
    // The editor bit sends the result into this window's angle field, not into the table.
    Context.Core.Display.TeachTarget = toolNr + TeachTargetEditorBit;
}

void ToolEditor::TaughtAngle(double degrees) {
    AngleField->SetValue(degrees);
}

void ToolEditor::done(int result) {
    StoreOnClose(result);
    QDialog::done(result);
}

// Whatever the answer, the window closes; only whether the tool is stored depends on it.
void ToolEditor::StoreOnClose(int result) {
    const int toolNr = ToolNumberInForce();
    ClampIntoRange(AngleField);
    ClampIntoRange(ToleranceField);
    bool store = false;
    // No number left to choose (every slot taken): there is nowhere to store.
    if (toolNr >= 0) {
        if (result == Accepted) {
            store = true;
        } else if (!ClosingByButton && ChangedFromStored(toolNr)) {
            store = Context.Messages.ShowMessage("Save programmed data?", MessageKind::Confirmation,
                                                 MessageButtons::YesNoCancel) == MessageResult::Yes;
        }
    }
    if (store) {
        Store(toolNr);
    }
    ClosingByButton = false;
}

bool ToolEditor::ChangedFromStored(int toolNr) const {
    const ConfigState& config = Context.Core.Config;
    if (Edit.EditTool != toolNr) {
        return true; // a new tool, or one moved to another number
    }
    const ToolRecord& tool = config.ConfigImage.Tools[static_cast<size_t>(toolNr)];
    // at the fields' two decimals, so a stored 0.7f equals a shown 0.70
    if (Hundredths(AngleField->Value()) != Hundredths(tool.Angle) ||
        Hundredths(ToleranceField->Value()) != Hundredths(tool.Tolerance) ||
        IntensityGroup->ValueOr(tool.Intensity) != tool.Intensity) {
        return true;
    }
    const std::string name = ToAnsi(ToolNameField->text()).substr(0, ToolNameSize);
    return name != ToolNameText(config.ToolNameTable[static_cast<size_t>(toolNr)]);
}

void ToolEditor::Store(int toolNr) {
    ConfigState& config = Context.Core.Config;
    ToolEditContext& edit = Edit;
    ToolRecord& tool = config.ConfigImage.Tools[static_cast<size_t>(toolNr)];
    tool.Angle = static_cast<float>(AngleField->Value());
    tool.Tolerance = static_cast<float>(ToleranceField->Value());
    tool.Intensity = IntensityGroup->ValueOr(edit.Preset.Intensity);
    tool.Programmed = 1;
    // An empty name field keeps the name stored for this number.
    if (!ToolNameField->text().isEmpty()) {
        const std::string name = ToAnsi(ToolNameField->text());
        ToolNameRecord& record = config.ToolNameTable[static_cast<size_t>(toolNr)];
        const size_t length = std::min(name.size(), ToolNameSize - 1);
        // the bytes after the terminator stay as they were, as a C string copy leaves them
        std::memcpy(record.Name.data(), name.data(), length);
        record.Name[length] = '\0';
        record.Defined = 1;
    }
    BuildToolLines(config);
    edit.EditTool = toolNr;
}

} // namespace vg

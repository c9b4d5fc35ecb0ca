#include "gui/ToolEditor.h"

#include "config/TextFormats.h"
#include "config/ValueRanges.h"
#include "gui/HelpViewer.h"
#include "gui/MoveRequest.h"
#include "gui/RadioGroup.h"
#include "gui/TextCodec.h"
#include "gui/NumberField.h"

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
    field->SetEditStyle(esFloat);
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

ToolEditor::ToolEditor(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(QStringLiteral("Setting Tool"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    // The proposal lies over the list's text and lets the mouse through to it, so a click
    // still opens the list, and keys go to the list too. It takes no input of its own, yet it
    // looks like the input it stands for, not greyed out.
    auto* toolNr = new QWidget(this);
    CB_TS_ToolNr = new QComboBox(toolNr);
    CB_TS_ToolNr->setFixedWidth(96);
    EB_InitToolNr = new QLineEdit(toolNr);
    EB_InitToolNr->setReadOnly(true);
    EB_InitToolNr->setFocusPolicy(Qt::NoFocus);
    EB_InitToolNr->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The label's buddy lies in the box with the proposal: name both for what they are.
    CB_TS_ToolNr->setAccessibleName(QStringLiteral("Tool-Nr:"));
    EB_InitToolNr->setAccessibleName(QStringLiteral("Tool-Nr:"));
    EB_InitToolNr->setFixedSize(72, CB_TS_ToolNr->sizeHint().height());
    auto* stack = new QGridLayout(toolNr);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(CB_TS_ToolNr, 0, 0);
    stack->addWidget(EB_InitToolNr, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    EB_InitToolNr->raise();

    EB_TS_ToolName = new QLineEdit(this);
    EB_TS_ToolName->setMaxLength(NameLength);
    // A longer name from a file written elsewhere stays whole; the user can shorten it, but
    // never type past the limit.
    connect(EB_TS_ToolName, &QLineEdit::textEdited, this, [this](const QString& text) {
        EB_TS_ToolName->setMaxLength(
            std::max<int>(NameLength, std::min<int>(EB_TS_ToolName->maxLength(), text.size())));
    });
    EB_TS_Angle = MakeDegreeField(this);
    BN_Teach = new QPushButton(QStringLiteral("&Teach"), this);
    BN_Teach->setAutoDefault(false);
    EB_TS_Tolerance = MakeDegreeField(this);
    RBG_TS_Intensity = new RadioGroup(QStringLiteral(" &Intensity"),
                                       {QStringLiteral(" Ultra-Low"), QStringLiteral(" Low"),
                                        QStringLiteral(" Medium"), QStringLiteral(" High")},
                                       this);
    BN_Close = new QPushButton(QStringLiteral("&Ok"), this);
    BN_Close->setDefault(true);
    BN_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    BN_Cancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(MakeLabel(QStringLiteral(" T&ool-Nr:"), CB_TS_ToolNr, this), 0, 0);
    fields->addWidget(toolNr, 0, 1, Qt::AlignLeft);
    fields->addWidget(MakeLabel(QStringLiteral("Tool-&Name: "), EB_TS_ToolName, this), 1, 0);
    fields->addWidget(EB_TS_ToolName, 1, 1, 1, 2);
    fields->addWidget(MakeLabel(QStringLiteral(" &Angle:"), EB_TS_Angle, this), 2, 0);
    fields->addWidget(EB_TS_Angle, 2, 1);
    fields->addWidget(BN_Teach, 2, 2);
    fields->addWidget(MakeLabel(QStringLiteral("To&lerance:"), EB_TS_Tolerance, this), 3, 0);
    fields->addWidget(EB_TS_Tolerance, 3, 1);
    fields->addWidget(RBG_TS_Intensity, 4, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BN_Close);
    buttons->addWidget(BN_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CB_TS_ToolNr, &QComboBox::activated, this, &ToolEditor::CB_TS_ToolNrChange);
    connect(BN_Teach, &QPushButton::clicked, this, &ToolEditor::BN_TeachClick);
    connect(BN_Close, &QPushButton::clicked, this, [this] {
        ClosingByButton = true;
        accept();
    });
    connect(BN_Cancel, &QPushButton::clicked, this, [this] {
        ClosingByButton = true;
        reject();
    });
    InstallContextHelp(this, Context.Help, HelpContext::SingleTool);
    FormCreate();
}

void ToolEditor::FormCreate() {
    EB_TS_Angle->Range().SetMinValue(AngleFieldRange.Min);
    EB_TS_Angle->Range().SetMaxValue(AngleFieldRange.Max);
    EB_TS_Tolerance->Range().SetMinValue(ToleranceFieldRange.Min);
    EB_TS_Tolerance->Range().SetMaxValue(ToleranceFieldRange.Max);
}

void ToolEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormActivate();
    }
}

void ToolEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        BN_Cancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ToolEditor::FormActivate() {
    const ConfigState& config = Context.Core.Config;
    ToolEditContext& edit = Context.ToolEdit;
    BN_Teach->setEnabled(config.ConfigSource == ConfigSourceUnit);
    CB_TS_ToolNr->setFocus();
    EB_InitToolNr->show();
    CB_TS_ToolNr->clear();

    edit.EditTool = edit.EditMode == ToolEditNew || edit.StartLine == -1
                        ? -1
                        : ToolNumberOfLine(config, edit.StartLine);
    // The numbers offered are the free slots and the tool's own, whatever the unit holds.
    for (int i = 0; i < ToolSlotCount; ++i) {
        if (config.ConfigImage.Tools[static_cast<size_t>(i)].Programmed == 0 ||
            i == edit.EditTool) {
            CB_TS_ToolNr->addItem(QString::number(i));
        }
    }
    CB_TS_ToolNr->setCurrentIndex(CB_TS_ToolNr->count() > 0 ? 0 : -1);

    if (edit.EditTool == -1) {
        setWindowTitle(QStringLiteral("Setting New Tool"));
        EB_InitToolNr->setText(CB_TS_ToolNr->currentText());
        edit.PresetName.clear();
    } else {
        setWindowTitle(QStringLiteral("Setting Tool"));
        const auto tool = static_cast<size_t>(edit.EditTool);
        edit.Preset = config.ConfigImage.Tools[tool];
        const QString number = QString::number(edit.EditTool);
        CB_TS_ToolNr->setCurrentIndex(CB_TS_ToolNr->findText(number));
        EB_InitToolNr->setText(number);
        const ToolNameRecord& name = config.ToolNameTable[tool];
        edit.PresetName = name.Defined != 0 ? ToolNameText(name) : std::string();
    }
    const QString name = FromAnsi(edit.PresetName);
    EB_TS_ToolName->setMaxLength(std::max<int>(NameLength, name.size()));
    EB_TS_ToolName->setText(name);
    EB_TS_Angle->SetValue(edit.Preset.Angle);
    EB_TS_Tolerance->SetValue(edit.Preset.Tolerance);
    RBG_TS_Intensity->SetItemIndex(edit.Preset.Intensity);
    ClosingByButton = false;
}

int ToolEditor::ToolNumberInForce() const {
    const QString text =
        EB_InitToolNr->isHidden() ? CB_TS_ToolNr->currentText() : EB_InitToolNr->text();
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok && number >= 0 && number < ToolSlotCount ? number : -1;
}

void ToolEditor::CB_TS_ToolNrChange() {
    EB_InitToolNr->hide();
}

void ToolEditor::BN_TeachClick() {
    const int toolNr = ToolNumberInForce();
    if (toolNr < 0) {
        return;
    }
    Context.Core.Status.Status_QueueCommand(BuildTeachRequest(Context.Core.Config.ConfigImage));
    // The editor bit sends the result into this window's angle field, not into the table.
    Context.Core.Display.TeachTarget = toolNr + TeachTargetEditorBit;
}

void ToolEditor::TaughtAngle(double degrees) {
    EB_TS_Angle->SetValue(degrees);
}

void ToolEditor::done(int result) {
    FormCloseQuery(result);
    QDialog::done(result);
}

// Whatever the answer, the window closes; only whether the tool is stored depends on it.
void ToolEditor::FormCloseQuery(int result) {
    const int toolNr = ToolNumberInForce();
    ClampIntoRange(EB_TS_Angle);
    ClampIntoRange(EB_TS_Tolerance);
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
    if (Context.ToolEdit.EditTool != toolNr) {
        return true; // a new tool, or one moved to another number
    }
    const ToolRecord& tool = config.ConfigImage.Tools[static_cast<size_t>(toolNr)];
    // at the fields' two decimals, so a stored 0.7f equals a shown 0.70
    if (Hundredths(EB_TS_Angle->Value()) != Hundredths(tool.Angle) ||
        Hundredths(EB_TS_Tolerance->Value()) != Hundredths(tool.Tolerance) ||
        RBG_TS_Intensity->ValueOr(tool.Intensity) != tool.Intensity) {
        return true;
    }
    const std::string name = ToAnsi(EB_TS_ToolName->text()).substr(0, ToolNameSize);
    return name != ToolNameText(config.ToolNameTable[static_cast<size_t>(toolNr)]);
}

void ToolEditor::Store(int toolNr) {
    ConfigState& config = Context.Core.Config;
    ToolEditContext& edit = Context.ToolEdit;
    ToolRecord& tool = config.ConfigImage.Tools[static_cast<size_t>(toolNr)];
    tool.Angle = static_cast<float>(EB_TS_Angle->Value());
    tool.Tolerance = static_cast<float>(EB_TS_Tolerance->Value());
    tool.Intensity = RBG_TS_Intensity->ValueOr(edit.Preset.Intensity);
    tool.Programmed = 1;
    // An empty name field keeps the name stored for this number.
    if (!EB_TS_ToolName->text().isEmpty()) {
        const std::string name = ToAnsi(EB_TS_ToolName->text());
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

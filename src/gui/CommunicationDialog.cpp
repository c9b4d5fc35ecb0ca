#include "gui/CommunicationDialog.h"

#include "gui/FieldbusDriverChooser.h"
#include "gui/HelpViewer.h"
#include "gui/NumberField.h"
#include "gui/PortDeviceBox.h"
#include "gui/RadioGroup.h"
#include "link/CommSettingsFile.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace vg {

namespace {

// The mode items are the fieldbus, then the serial line; a mode they cannot show is no item.
int ModeItem(CommMode mode) {
    return static_cast<int>(mode) - 1;
}

QGroupBox* MakeRadioGroup(const QString& title, const QStringList& items, QButtonGroup*& group,
                          QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    group = new QButtonGroup(box);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    TabToCheckedItem(*group);
    return box;
}

} // namespace

std::string LinkOpenFailureMessage(const Session& core, ErrorCode error) {
    std::string text = LinkOpenFailureText(error, core.OpenFailureDetail());
    if (!core.Settings.IsSerial() && !core.FieldbusDriverFailure().empty()) {
        text.append("\nOptions > Communication: \"Driver...\" chooses a driver that loads, "
                    "\"Simulated unit\" goes back to the built-in unit.");
    }
    return text;
}

CommunicationDialog::CommunicationDialog(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(tr("Communication"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    ModeBox = MakeRadioGroup(tr("Communication Layer"), {QStringLiteral("Profibus"), tr("Serial")},
                             ModeItems, this);
    DriverChooser = new FieldbusDriverChooser(Context.Files, ModeBox);
    // Right below the fieldbus item, before the serial one.
    static_cast<QBoxLayout*>(ModeBox->layout())->insertWidget(1, DriverChooser);

    // Created in the order Tab visits them: the left column, then the ports on the right.
    auto* address = new QGroupBox(tr("Profibus Device Address"), this);
    address->setObjectName(QStringLiteral("AddressBox"));
    AddressBox = address;
    AddressField = new NumberField(address);
    AddressField->SetStyle(NumberStyle::Integer);
    AddressField->Range().SetMinValue(-100);
    AddressField->Range().SetMaxValue(127);
    AddressField->SetValue(50);
    (new QVBoxLayout(address))->addWidget(AddressField);
    connect(AddressField, &QLineEdit::textEdited, this, [this] {
        AddressEdited = true;
        AddressField->Range().SetEnforce(true);
    });

    ComPortBox = new QGroupBox(tr("Serial COM-Port"), this);
    ComPortItems = new QButtonGroup(ComPortBox);
    auto* ports = new QGridLayout(ComPortBox);
    for (int i = 0; i < 6; ++i) {
        auto* radio = new QRadioButton(QStringLiteral("COM %1").arg(i + 1), ComPortBox);
        ComPortItems->addButton(radio, i);
        PortDevices[static_cast<size_t>(i)] = new QLabel(ComPortBox);
        PortDevices[static_cast<size_t>(i)]->setForegroundRole(QPalette::PlaceholderText);
        ports->addWidget(radio, i, 0);
        ports->addWidget(PortDevices[static_cast<size_t>(i)], i, 1);
    }
    TabToCheckedItem(*ComPortItems);
    DeviceLabel = new QLabel(tr("&Device for this port:"), ComPortBox);
    DeviceBox = new PortDeviceBox(ComPortBox);
    DeviceLabel->setBuddy(DeviceBox);
    ports->addWidget(DeviceLabel, 6, 0, 1, 2);
    ports->addWidget(DeviceBox, 7, 0, 1, 2);
    connect(ComPortItems, &QButtonGroup::idClicked, this, [this] { ShowDevicesOfChosenPort(); });
    connect(ModeItems, &QButtonGroup::idToggled, this, [this] { EnableControlsOfChosenMode(); });

    CloseButton = new QPushButton(tr("&Ok"), this);
    CloseButton->setDefault(true);
    CancelButton = new QPushButton(tr("&Cancel"), this);
    connect(CloseButton, &QPushButton::clicked, this, [this] {
        ButtonPressed = true;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        ButtonPressed = true;
        reject();
    });

    auto* left = new QVBoxLayout;
    left->addWidget(ModeBox);
    left->addWidget(address);
    left->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    buttons->addWidget(CancelButton);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(ComPortBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    InstallContextHelp(this, Context.Help, HelpContext::Communication);
}

void CommunicationDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PrepareToShow();
}

// A setting the controls cannot show (a port above 6 from the file, an address outside the
// field's range) shows no choice or its own number, and stays as it is unless the user
// chooses another.
void CommunicationDialog::PrepareToShow() {
    const CommSettings& settings = Context.Core.Settings;
    CheckItem(*ModeItems, ModeItem(settings.Mode));
    CheckItem(*ComPortItems, settings.ComPortNr - 1);
    ShownModeItem = ModeItems->checkedId();
    ShownPortItem = ComPortItems->checkedId();
    DriverChooser->Show(settings.DriverPath, Context.Core.Folders.Settings);
    // The address is a 16-bit setting shown as the signed number the field takes.
    const auto address = static_cast<int16_t>(settings.DevAddr);
    AddressField->Range().SetEnforce(address >= AddressField->Range().MinValue() &&
                                     address <= AddressField->Range().MaxValue());
    AddressField->SetValue(address);
    AddressEdited = false;
    ShowPortDevices();
    ShowDevicesOfChosenPort();
    ButtonPressed = false;
}

void CommunicationDialog::keyPressEvent(QKeyEvent* event) {
    // Escape backs out as the Cancel button does; only OK and the close box apply a change.
    if (event->matches(QKeySequence::Cancel)) {
        CancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CommunicationDialog::ShowPortDevices() {
    SerialPort& serial = Context.Core.Serial;
    for (int i = 0; i < 6; ++i) {
        const QString device =
            QString::fromStdString(serial.ResolveDevice(static_cast<int16_t>(i + 1)));
        const QFileInfo info(device);
        QString text;
        if (!info.exists()) {
            text = tr("(no %1 on this machine)").arg(device);
        } else if (info.isSymLink()) {
            text = QStringLiteral("%1 -> %2").arg(device, info.symLinkTarget());
        } else {
            text = device;
        }
        PortDevices[static_cast<size_t>(i)]->setText(text);
    }
}

void CommunicationDialog::ShowDevicesOfChosenPort() {
    DeviceBox->ShowFor(static_cast<int16_t>(ComPortItems->checkedId() + 1),
                       Context.Core.Serial.LinkDir);
    EnableControlsOfChosenMode();
}

void CommunicationDialog::EnableControlsOfChosenMode() {
    // No mode chosen (a mode from the file the items cannot show): everything stays open.
    const int mode = ModeItems->checkedId();
    const bool fieldbusUsed = mode != ModeItem(CommMode::Serial);
    const bool serialUsed = mode != ModeItem(CommMode::Fieldbus);
    DriverChooser->setEnabled(fieldbusUsed);
    AddressBox->setEnabled(fieldbusUsed);
    DeviceLabel->setEnabled(serialUsed);
    DeviceBox->setEnabled(serialUsed && DeviceBox->Port() > 0);
}

uint16_t CommunicationDialog::EnteredAddress() const {
    // Enter closes the dialog without leaving the field, so clamp here as leaving would.
    const double value = std::clamp(AddressField->Value(), AddressField->Range().MinValue(),
                                    AddressField->Range().MaxValue());
    return static_cast<uint16_t>(static_cast<int32_t>(std::trunc(value)));
}

CommSettings CommunicationDialog::ChosenSettings() const {
    CommSettings chosen = Context.Core.Settings;
    if (ComPortItems->checkedId() != ShownPortItem) {
        chosen.ComPortNr = static_cast<uint16_t>(ComPortItems->checkedId() + 1);
    }
    if (AddressEdited) {
        chosen.DevAddr = EnteredAddress();
    }
    if (ModeItems->checkedId() != ShownModeItem) {
        chosen.Mode = static_cast<CommMode>(ModeItems->checkedId() + 1);
    }
    chosen.DriverPath = DriverChooser->Chosen();
    return chosen;
}

bool CommunicationDialog::ControlsDifferFromSettings() const {
    const CommSettings& settings = Context.Core.Settings;
    const CommSettings chosen = ChosenSettings();
    return chosen.ComPortNr != settings.ComPortNr || chosen.DevAddr != settings.DevAddr ||
           chosen.Mode != settings.Mode || chosen.DriverPath != settings.DriverPath;
}

void CommunicationDialog::ApplyChange() {
    const Session::SettingsApplied applied = Context.Core.ApplySettings(ChosenSettings());
    if (!applied.NotSaved.Path.empty()) {
        const std::string text =
            std::string(SettingsNotSavedText).append("\n").append(applied.NotSaved.Line());
        Context.Messages.ShowMessage(text, MessageKind::Warning, MessageButtons::Ok);
    }
    // A driver that does not load is told as at start.
    if (applied.DriverFailed) {
        Context.Messages.ShowMessage(LinkOpenFailureMessage(Context.Core, DP_ERR_NO_DRIVER),
                                     MessageKind::Error, MessageButtons::Ok);
    }
}

void CommunicationDialog::done(int result) {
    const bool cancelButton = result == Rejected && ButtonPressed;
    if (!cancelButton) {
        Session& core = Context.Core;
        // The port in use now leads elsewhere: it is reopened as after a change.
        // A device chosen before the mode went over to the fieldbus is not wanted any more.
        const bool relinked = DeviceBox->isEnabled() && DeviceBox->ApplyChoice(Context.Messages) &&
                              core.Settings.IsSerial() &&
                              DeviceBox->Port() == core.Settings.ComPortNr;
        if (ControlsDifferFromSettings()) {
            ApplyChange();
        } else if (relinked) {
            core.ReopenLink();
        }
    }
    QDialog::done(result);
}

} // namespace vg

#pragma once

#include "gui/ProgramContext.h"
#include "link/CommSettings.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vg {

class PortDeviceBox;
class FieldbusDriverChooser;
class NumberField;

constexpr const char* SettingsNotSavedText =
    "The communication settings apply until the program ends, but could not be saved:";

// The message for a link that did not open; when the fieldbus driver is what failed, a last
// line says where to choose another.
std::string LinkOpenFailureMessage(const Session& core, ErrorCode error);

// The communication dialog: mode, COM port and fieldbus address, taking effect at once.
class CommunicationDialog : public QDialog {
    Q_OBJECT
public:
    explicit CommunicationDialog(ProgramContext& context, QWidget* parent = nullptr);

    QGroupBox* ModeBox = nullptr;
    QButtonGroup* ModeItems = nullptr;
    FieldbusDriverChooser* DriverChooser = nullptr; // beside the fieldbus item
    QGroupBox* ComPortBox = nullptr;
    QButtonGroup* ComPortItems = nullptr;
    std::array<QLabel*, 6> PortDevices{}; // where each COM item leads on this machine
    QLabel* DeviceLabel = nullptr;
    PortDeviceBox* DeviceBox = nullptr; // the devices present, for the chosen COM item
    QGroupBox* AddressBox = nullptr;    // the fieldbus address
    NumberField* AddressField = nullptr;
    QPushButton* CloseButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    void done(int result) override;

private:
    void PrepareToShow();
    void ShowPortDevices();
    // The settings with what the user chose in place of what was shown.
    CommSettings ChosenSettings() const;
    bool ControlsDifferFromSettings() const;
    // Puts the chosen settings in force and tells what failed.
    void ApplyChange();
    void ShowDevicesOfChosenPort();
    // Only what the chosen mode uses can be changed; the COM items serve both modes.
    void EnableControlsOfChosenMode();
    uint16_t EnteredAddress() const;

    ProgramContext& Context;
    bool ButtonPressed = false;
    // What the controls showed on activation: an item index, -1 for none.
    int ShownModeItem = -1;
    int ShownPortItem = -1;
    bool AddressEdited = false;
};

} // namespace vg

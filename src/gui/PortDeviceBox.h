#pragma once

#include "common/MessageService.h"
#include "link/SerialPortList.h"

#include <QComboBox>
#include <string>

namespace vg {

// The serial devices present, offered for one COM item of the communication dialog. The
// first entry keeps COMn as it is; choosing a device makes COMn a link to its stable name
// when the dialog applies its change.
class PortDeviceBox : public QComboBox {
    Q_OBJECT
public:
    explicit PortDeviceBox(QWidget* parent = nullptr);

    // Where devices are looked for (tests point it at folders of their own).
    SerialPortPlaces Places;

    // Lists the devices for COM `port` (none when `port` is 0), COMn looked for in `linkDir`.
    void ShowFor(int16_t port, const std::string& linkDir);
    int16_t Port() const { return ShownPort; }
    // What COMn should lead to; "" to keep it as it is.
    std::string ChosenTarget() const;

    // Makes COMn lead to the chosen device. A file or device the user placed there is
    // replaced only when the user agrees; a failure is told. True when COMn changed.
    bool ApplyChoice(MessageService& messages);

private:
    int16_t ShownPort = 0;
    std::string LinkDir;
};

} // namespace vg

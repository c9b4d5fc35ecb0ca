#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vg {

namespace StatusText {
constexpr const char* Unknown = "-----"; // scanning and angle while the unit does not answer
constexpr const char* Scanning = "Scanning";
constexpr const char* ZeroPosition = "Zero-Pos.";
constexpr const char* AnglePrefix = " MeasA.: ";
constexpr const char* IdPrefix = "Id: ";
constexpr const char* NoId = "Id: --------";
} // namespace StatusText

// The unit's message for its error bits; the lowest set bit wins, no bit gives "".
std::string ErrorMessageText(uint8_t errorBits);
// "%6.2f" of hundredths x 0.01, always with a point: 9000 gives " 90.00".
std::string AngleText(uint16_t hundredths);
// The scanner: "Scanning" wins over "Zero-Pos.", neither gives "".
std::string ScanningText(uint8_t stateBits);

// What the unit last reported, as the status poll took it from the records: every front end
// (the windows, vgctl, the gateway) shows it in its own way.
struct UnitStatus {
    bool Online = false;
    int ToolNr = -1;       // the selected tool; -1 while the unit does not answer
    uint8_t StateBits = 0; // StateBit; 0 while the unit does not answer
    // The last message stays when the unit goes away, as the windows keep showing it.
    uint8_t ErrorBits = 0;
    std::optional<uint16_t> AngleHundredths; // none while the unit does not answer
    // The identifier of the configuration held for the unit, when it has one.
    std::optional<std::string> Identifier;
    // Online as the windows count it: the unit answered, or the fieldbus link opened (the
    // open alone counts until the unit is found lost).
    bool LinkOnline = false;
    // What the unit is: the built-in simulated unit, not a real one.
    bool SimulatedUnit = false;

    bool Out1() const;
    bool Out2() const;
    std::string Message() const { return ErrorMessageText(ErrorBits); }
    // "Scanning", "Zero-Pos." or "" while the unit answers, "-----" while it does not.
    std::string ScannerText() const;
    // "Id: " and the identifier, or "Id: --------" without one.
    std::string IdentifierText() const;

    bool operator==(const UnitStatus&) const = default;
};

// Told by the status poll whenever the unit's status changed.
class UnitStatusObserver {
public:
    virtual ~UnitStatusObserver() = default;
    virtual void UnitStatusChanged(const UnitStatus& status) = 0;
};

} // namespace vg

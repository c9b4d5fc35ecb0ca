#include "config/transfer/Transfer.h"

#include "config/files/ConfigFile.h"
#include "config/files/FilePaths.h"
#include "config/files/NamespaceFile.h"
#include "config/model/TextFormats.h"
#include "config/model/ValueRanges.h"
#include "config/transfer/UnitReadBack.h"

#include <algorithm>
#include <cstring>

namespace vg {

namespace {

constexpr uint8_t FirstFirmwareParameter = 26;
// Firmware up to 1.03 has no pulse time parameters.
constexpr int LastVersionWithoutPulseTime = 103;

// How one unit parameter byte maps onto its int32 field of the image.
enum class ParamPart {
    Byte,     // the whole field
    LowByte,  // bits 0..7 of a 16-bit value; reading replaces the whole field
    HighByte, // bits 8..15; reading adds them to the field
    Tenths,   // the unit keeps tenths, the image hundredths
};

struct GlobalParameter {
    uint8_t Number;
    int32_t ConfigImage::*Field;
    ParamPart Part;
};

// The fourteen global parameters in transfer order. The low byte of a 16-bit value comes
// first, so reading the high byte can add to it.
constexpr std::array<GlobalParameter, 14> ParamOrder = {{
    {11, &ConfigImage::ReturnTrvMon, ParamPart::Byte},
    {3, &ConfigImage::Monitoring, ParamPart::Byte},
    {4, &ConfigImage::RotDir, ParamPart::Byte},
    {12, &ConfigImage::PowerOnMove, ParamPart::Byte},
    {6, &ConfigImage::Scanner, ParamPart::Byte},
    {1, &ConfigImage::Out1Polarity, ParamPart::Byte},
    {2, &ConfigImage::Out2Polarity, ParamPart::Byte},
    {0, &ConfigImage::DefaultIntensity, ParamPart::Byte},
    {13, &ConfigImage::SignalMode, ParamPart::Byte},
    {9, &ConfigImage::DefaultAngle, ParamPart::LowByte},
    {10, &ConfigImage::DefaultAngle, ParamPart::HighByte},
    {5, &ConfigImage::DefaultTolerance, ParamPart::Tenths},
    {14, &ConfigImage::OutPulseTime, ParamPart::LowByte},
    {15, &ConfigImage::OutPulseTime, ParamPart::HighByte},
}};

void StoreParameter(ConfigImage& image, const GlobalParameter& p, uint8_t byte) {
    int32_t& field = image.*p.Field;
    switch (p.Part) {
    case ParamPart::Byte:
    case ParamPart::LowByte:
        field = byte;
        break;
    case ParamPart::HighByte:
        field |= static_cast<int32_t>(byte) << 8;
        break;
    case ParamPart::Tenths:
        field = byte * 10;
        break;
    }
}

uint8_t ParameterByte(const ConfigImage& image, const GlobalParameter& p) {
    const int32_t field = image.*p.Field;
    switch (p.Part) {
    case ParamPart::HighByte:
        return static_cast<uint8_t>(field >> 8);
    case ParamPart::Tenths:
        return static_cast<uint8_t>(field / 10);
    case ParamPart::Byte:
    case ParamPart::LowByte:
        break;
    }
    return static_cast<uint8_t>(field);
}

bool IsPulseTime(const GlobalParameter& p) {
    return p.Field == &ConfigImage::OutPulseTime;
}

// One tool slot moved in either direction, with the handshake of a parameter transaction:
// wait for a plain status record, then send the request and wait for its reply.
bool ExchangeTool(const ConfigState& config, ParChannel& par, ProgressView& progress, int toolNr,
                  const DeviceRequest& request, DeviceReply& reply, bool recordLinkErrors,
                  ErrorCode& error) {
    if (!par.SynchroniseWithStatus(error)) {
        return false;
    }
    progress.SetProgress(toolNr * 100 / (config.ToolCapacity + 1));
    return par.SendAndAwaitReply(request, reply, error, recordLinkErrors);
}

bool ReadTools(ConfigState& config, ParChannel& par, ProgressView& progress, ErrorCode& error) {
    const int slots = ToolSlotsToExchange(config);
    for (int n = 0; n < slots && error == 0; ++n) {
        DeviceRequest request{};
        request[0] = static_cast<uint8_t>(n);
        request[1] = RequestCode::ToolRead;
        DeviceReply reply{};
        if (!ExchangeTool(config, par, progress, n, request, reply, true, error)) {
            break;
        }
        const uint8_t flags = reply[1];
        if ((flags & ReplyFlag::Acknowledged) == 0) {
            error = (flags & ReplyFlag::ReadRefused) != 0 ? TransferCode::ReadRefused
                                                          : TransferCode::SoftError;
            break;
        }
        par.ParState = 0;
        // The echo is only compared, never used as an index.
        if (reply[0] != n) {
            error = TransferCode::Synchronisation;
            break;
        }
        ToolRecord& tool = config.ConfigImage.Tools[static_cast<size_t>(n)];
        if ((flags & ReplyFlag::SlotEmpty) != 0) {
            tool.Programmed = 0; // the other fields keep what they held
            continue;
        }
        tool.Intensity = reply[2];
        tool.Tolerance = ToleranceFromByte(reply[3]);
        tool.Angle = AngleFromWord(MessageWord(reply));
        tool.Programmed = 1;
    }
    return error == 0;
}

bool WriteTools(const ConfigState& config, ParChannel& par, ProgressView& progress,
                ErrorCode& error) {
    const int slots = ToolSlotsToExchange(config);
    for (int n = 0; n < slots && error == 0; ++n) {
        const ToolRecord& tool = config.ConfigImage.Tools[static_cast<size_t>(n)];
        DeviceRequest request{};
        if (tool.Programmed != 0) {
            request = ToolValuesRequest(RequestCode::ToolWrite, tool);
        } else {
            request[1] = RequestCode::ToolDelete;
        }
        request[0] = static_cast<uint8_t>(n);
        DeviceReply reply{};
        // A reply that fails its checks is asked for again until the deadline.
        if (!ExchangeTool(config, par, progress, n, request, reply, false, error)) {
            break;
        }
        if ((reply[1] & ReplyFlag::Acknowledged) != 0) {
            par.ParState = 0;
        } else if ((reply[1] & ReplyFlag::WriteRefused) != 0) {
            error = TransferCode::WriteRefused;
        }
        // The unit answers some requests (a delete of an empty slot) without either flag;
        // that is not a failure.
    }
    return error == 0;
}

bool ReadGlobals(ConfigImage& image, ParChannel& par, ErrorCode& error) {
    for (const GlobalParameter& p : ParamOrder) {
        uint8_t byte = 0;
        if (!par.ReadByte(p.Number, byte, error)) {
            return false;
        }
        StoreParameter(image, p, byte);
    }
    return true;
}

bool WriteGlobals(const ConfigState& config, ParChannel& par, ErrorCode& error) {
    const bool withPulseTime = PulseTimeSent(config);
    for (const GlobalParameter& p : ParamOrder) {
        if (IsPulseTime(p) && !withPulseTime) {
            continue;
        }
        if (!par.WriteByte(p.Number, ParameterByte(config.ConfigImage, p), error)) {
            return false;
        }
    }
    return true;
}

// The unit's identifier names its tool-name file. Without one the upload goes on and the
// names in memory stay as they were.
void ReadNamespace(ConfigState& config, ParChannel& par, MessageService& messages,
                   ErrorCode& error) {
    std::array<uint8_t, ParChannel::CuIdBlockSize> block{};
    ErrorCode idError = 0;
    const bool valid = par.ReadUnitId(block, idError);
    if (valid || idError == TransferCode::NoCuId) {
        std::memcpy(&config.NamespaceInfo, block.data(), block.size());
    }
    if (!valid) {
        // Not a failure of the upload: the names in memory stay as they were.
        messages.ShowMessage(TransferText::NoNamespace, MessageKind::Warning, MessageButtons::Ok);
        return;
    }
    config.NamespaceIdValid = true;
    config.NamespaceFileName = NamespaceFilePath(config.DataDir, config.NamespaceInfo);
    LoadToolNames(config.ToolNameTable, config.NamespaceFileName, error, messages);
}

// Without an identifier the names cannot be kept; the user may type one.
void AskForMissingIdentifier(ConfigState& config, const TransferServices& services) {
    if (config.NamespaceIdValid || !AnyToolNameDefined(config.ToolNameTable)) {
        return;
    }
    while (!config.NamespaceIdValid &&
           services.Messages.ShowMessage(TransferText::EnterIdentifier, MessageKind::Warning,
                                         MessageButtons::YesNo) == MessageResult::Yes) {
        services.Identifier.AskForIdentifier(config.NamespaceInfo, config.NamespaceIdValid);
    }
}

bool WriteNamespace(ConfigState& config, ParChannel& par, const TransferServices& services,
                    ErrorCode& error, WriteFailure& failure) {
    AskForMissingIdentifier(config, services);
    if (!config.NamespaceIdValid) {
        return true; // the unit's block and the name file stay as they are
    }
    std::array<uint8_t, ParChannel::CuIdBlockSize> block{};
    std::memcpy(block.data(), &config.NamespaceInfo, block.size());
    if (!par.WriteUnitId(block, error)) {
        return false;
    }
    config.NamespaceFileName = NamespaceFilePath(config.DataDir, config.NamespaceInfo);
    const std::string folder = UnitDataFolder(config.DataDir);
    if (!MakeUnitDataFolder(config.DataDir)) {
        failure.Record(folder);
        error = TransferCode::FileWrite;
        return false;
    }
    return SaveToolNames(config.ToolNameTable, config.NamespaceFileName, error, {}, &failure);
}

// Sent, a value the unit cannot hold would arrive wrapped and the save would still end with
// success; so an image holding one is not sent at all.
bool ValuesFitTheUnit(const ConfigState& config, MessageService& messages, ErrorCode& error) {
    const auto outside = ValuesOutOfRange(config.ConfigImage, PulseTimeSent(config));
    if (outside.empty()) {
        return true;
    }
    std::string text = "Values out of range; nothing was sent to the unit:";
    for (const OutOfRangeValue& value : outside) {
        text += '\n';
        text += OutOfRangeText(value);
    }
    error = TransferCode::ValueOutOfRange;
    messages.ShowMessage(text, MessageKind::Error, MessageButtons::Ok);
    return false;
}

} // namespace

int ToolSlotsToExchange(const ConfigState& config) {
    return std::clamp<int>(config.ToolCapacity, 1, ToolSlotCount);
}

bool PulseTimeSent(const ConfigState& config) {
    return !config.VersionValid ||
           FirmwareVersionNumber(config.FirmwareInfo) > LastVersionWithoutPulseTime;
}

ConfigImage GlobalsAsTheUnitHoldsThem(const ConfigImage& image) {
    ConfigImage held = image;
    for (const GlobalParameter& p : ParamOrder) {
        StoreParameter(held, p, ParameterByte(image, p));
    }
    return held;
}

bool ReadUnitImage(ConfigState& config, ParChannel& par, ProgressView& progress, ErrorCode& error) {
    if (ReadFirmwareInfo(config, par, error)) {
        config.VersionValid = true;
    }
    if (error == 0) {
        ReadTools(config, par, progress, error);
    }
    if (error == 0) {
        ReadGlobals(config.ConfigImage, par, error);
    }
    return error == 0;
}

bool ReadFirmwareInfo(ConfigState& config, ParChannel& par, ErrorCode& error) {
    // The fields lie in the order of their parameters 26..31.
    std::array<uint8_t, sizeof(FirmwareInfo)> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (!par.ReadByte(static_cast<uint8_t>(FirstFirmwareParameter + i), bytes[i], error)) {
            return false;
        }
    }
    std::memcpy(&config.FirmwareInfo, bytes.data(), bytes.size());
    config.ToolCapacity = ToolCapacityOf(config.FirmwareInfo.DeviceVariant);
    return true;
}

bool LoadFromUnit(ConfigState& config, ParChannel& par, const TransferServices& services,
                  ErrorCode& transferError) {
    ErrorCode& error = transferError;
    error = 0;
    config.NamespaceIdValid = false;
    config.TransferBusy = true;
    services.Progress.ShowProgress(UploadCaption);
    if (ReadUnitImage(config, par, services.Progress, error)) {
        RepairDefaultSettings(config.ConfigImage);
        ReadNamespace(config, par, services.Messages, error);
    }
    if (error == 0) {
        BuildToolLines(config);
        TakeSnapshots(config);
    }
    services.Progress.HideProgress();
    config.TransferBusy = false;
    if (error != 0) {
        ShowTransferError(services.Messages, error);
    }
    par.ParState = 0;
    return error == 0;
}

bool SaveToUnit(ConfigState& config, ParChannel& par, const TransferServices& services,
                ErrorCode& transferError) {
    ErrorCode& error = transferError;
    error = 0;
    if (!ValuesFitTheUnit(config, services.Messages, error)) {
        return false;
    }
    WriteFailure failure;
    // Busy first: showing the progress window may activate other windows, which then must
    // leave the image alone.
    config.TransferBusy = true;
    services.Progress.ShowProgress(DownloadCaption);
    if (ReadFirmwareInfo(config, par, error)) {
        config.VersionValid = true;
    }
    if (error == 0) {
        WriteTools(config, par, services.Progress, error);
    }
    if (error == 0) {
        WriteGlobals(config, par, error);
    }
    if (error == 0) {
        WriteNamespace(config, par, services, error, failure);
    }
    if (error == 0 && services.Check != nullptr) {
        VerifyDownload(config, par, services.Progress, *services.Check);
    }
    services.Progress.HideProgress();
    config.TransferBusy = false;
    par.ParState = 0;
    if (error != 0) {
        ShowTransferError(services.Messages, error, failure);
        return false;
    }
    services.Messages.ShowMessage(TransferText::SavedToUnit, MessageKind::Information,
                                  MessageButtons::Ok);
    return true;
}

bool SaveToFiles(const ConfigState& config, const std::string& path, MessageService& messages,
                 ErrorCode& transferError) {
    ErrorCode& error = transferError;
    error = 0;
    WriteFailure failure;
    if (!WriteConfigFile(config, path, error, {}, &failure)) {
        ShowTransferError(messages, error, failure);
        return false;
    }
    messages.ShowMessage(TransferText::SavedToFiles, MessageKind::Information, MessageButtons::Ok);
    return true;
}

std::string TransferErrorText(ErrorCode code) {
    switch (code) {
    case TransferCode::NamespaceFile:
        return "Error in Namespace-File";
    case TransferCode::ParameterFile:
        return "Error in Parameter-File";
    case TransferCode::FileWrite:
        return "File Write Error!";
    case TransferCode::Timeout:
        return "Timeout in Communication to VGL!";
    case TransferCode::WriteRefused:
        return "Write Error from VGL";
    case TransferCode::ReadRefused:
        return "Read Error from VGL";
    case TransferCode::Synchronisation:
        return "Syncronisation-Error in communication to VGL";
    case TransferCode::SoftError:
        return "Soft-Error!";
    case TransferCode::NoCuId:
        return "No CU_Id available";
    case TransferCode::Interrupted:
        return "Interrupted: the transfer did not finish.";
    default:
        return "Illegal Errornumber: " + std::to_string(code);
    }
}

void ShowTransferError(MessageService& messages, ErrorCode code, const WriteFailure& failure) {
    std::string text = TransferErrorText(code);
    if (code == TransferCode::FileWrite && !failure.Path.empty()) {
        text += '\n';
        text += failure.Line();
    }
    messages.ShowMessage(text, MessageKind::Error, MessageButtons::Ok);
}

} // namespace vg

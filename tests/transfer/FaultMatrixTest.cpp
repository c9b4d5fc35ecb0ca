// Every fault at every transaction of an upload and a download, one at a time: each run ends
// with one message carrying the right code, within one deadline, leaves the image and the
// snapshots as a failed transfer must, and the next transfer works.
#include "TransferFixture.h"
#include "support/FastForwardClock.h"

#include <cctype>
#include <chrono>
#include <cstring>

namespace vg {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A 32-slot unit: 6 identification bytes, 32 tools, 14 global parameters, 10 namespace words.
constexpr int SlotCount = 32;
constexpr int FirstTool = 6;
constexpr int FirstGlobal = FirstTool + SlotCount;
constexpr int FirstNamespaceWord = FirstGlobal + 14;
constexpr int TransactionCount = FirstNamespaceWord + 10;

enum class Fault { NoReply, Refused, SoftError, WrongEcho, ElementNotAccepted, CorruptChecksum };
constexpr Fault AllFaults[] = {Fault::NoReply,
                               Fault::Refused,
                               Fault::SoftError,
                               Fault::WrongEcho,
                               Fault::ElementNotAccepted,
                               Fault::CorruptChecksum};

const char* FaultName(Fault f) {
    switch (f) {
    case Fault::NoReply:
        return "no reply";
    case Fault::Refused:
        return "refused";
    case Fault::SoftError:
        return "no flags";
    case Fault::WrongEcho:
        return "wrong echo";
    case Fault::ElementNotAccepted:
        return "element not accepted";
    case Fault::CorruptChecksum:
        return "corrupted checksum";
    }
    return "";
}

sim::SimFaults Arm(Fault f, int request) {
    sim::SimFaults faults;
    faults.NoReply = f == Fault::NoReply;
    faults.RefuseRead = faults.RefuseWrite = f == Fault::Refused;
    faults.SoftError = f == Fault::SoftError;
    faults.WrongEcho = f == Fault::WrongEcho;
    faults.ElementNotAccepted = f == Fault::ElementNotAccepted;
    faults.CorruptChecksum = f == Fault::CorruptChecksum;
    faults.FirstRequest = request;
    faults.RequestCount = 1;
    return faults;
}

enum class Segment { Identification, Tools, Globals, Namespace };

Segment SegmentOf(int request) {
    return request < FirstTool            ? Segment::Identification
           : request < FirstGlobal        ? Segment::Tools
           : request < FirstNamespaceWord ? Segment::Globals
                                          : Segment::Namespace;
}

// What a run is expected to end with: 0 for success.
struct Outcome {
    ErrorCode Code = 0;
    bool NamespaceWarning = false;
};

std::optional<Outcome> Expected(bool upload, Fault fault, int request) {
    const Segment segment = SegmentOf(request);
    const bool writes = !upload && segment != Segment::Identification;
    if (fault == Fault::CorruptChecksum) {
        return Outcome{}; // a reply that fails its checks is asked for again
    }
    if (segment == Segment::Tools && fault == Fault::ElementNotAccepted) {
        return std::nullopt; // tools have no element index: byte 2 is the intensity
    }
    if (!upload && segment == Segment::Tools &&
        (fault == Fault::SoftError || fault == Fault::WrongEcho)) {
        return Outcome{}; // a tool write's echo and missing flags are passed over
    }
    if (upload && segment == Segment::Namespace) {
        return Outcome{0, true}; // the upload goes on without names
    }
    switch (fault) {
    case Fault::NoReply:
        return Outcome{TransferCode::Timeout};
    case Fault::Refused:
        return Outcome{writes ? TransferCode::WriteRefused : TransferCode::ReadRefused};
    case Fault::SoftError:
        return Outcome{TransferCode::SoftError};
    default:
        return Outcome{TransferCode::Synchronisation};
    }
}

struct MatrixCase {
    CommMode Mode;
    bool Upload;
    Fault Kind;
};

class FaultMatrixTest : public test::TransferTestBase<MatrixCase> {
protected:
    FaultMatrixTest() : TransferTestBase(GetParam().Mode) {
        // Only a run whose fault leaves a request unanswered waits for the deadline; it is
        // short there, and generous elsewhere so a busy machine cannot fake a time-out.
        W.Par.Timeout = GetParam().Kind == Fault::NoReply ? 3s : 10s;
        // The unanswered request's deadline passes once nothing came within the patience
        // (far above the simulated unit's answer, even on a busy machine under a sanitizer),
        // not by sleeping through it.
        W.Par.Time = &Time;
        Unit().SetVariant(2);
        Unit().SetTool(3, {true, 4550, 10, 1});
        Messages.AcceptAll();
    }

    static constexpr auto QuietPatience = 250ms;
    test::FastForwardClock Time{QuietPatience};

    // What the download sends: tools, parameters, the namespace block and the names.
    void PrepareDownload() {
        Config.ConfigImage = {};
        Config.ConfigImage.Tools[2] = {1, 45.5F, 1.0F, 1};
        Config.ConfigImage.DefaultTolerance = 300;
        Config.NamespaceIdValid = true;
        std::memcpy(Config.NamespaceInfo.CU_Id.data(), "00001234", 8);
        Config.ConfigSource = ConfigSource::Unit;
    }
    // Snapshots that no failed transfer may touch.
    void MarkSnapshots() {
        Config.SavedImage = {};
        Config.SavedImage.Reserved1 = 0x5A5A;
        Config.SavedToolNames = {};
    }

    bool Run(bool upload) { return upload ? Upload() : SaveToUnit(); }

    void RunOne(bool upload, Fault fault, int request, const Outcome& expected) {
        SCOPED_TRACE(std::string(upload ? "upload, " : "download, ") + FaultName(fault) +
                     " at transaction " + std::to_string(request));
        if (!upload) {
            PrepareDownload();
        }
        MarkSnapshots();
        const ConfigImage imageBefore = Config.ConfigImage;
        const size_t shownBefore = Messages.History().size();
        sim::SimFaults faults = Arm(fault, Unit().ChannelRequestsSeen() + request);
        Unit().SetFaults(faults);

        const auto began = Time.Now();
        const bool ok = Run(upload);
        const auto took = Time.Now() - began;

        EXPECT_EQ(ok, expected.Code == 0);
        EXPECT_EQ(Config.TransferError, expected.Code);
        // Every wait is bounded by one deadline, and only one wait can run into it.
        if (fault == Fault::NoReply) {
            EXPECT_LT(took, 2 * W.Par.Timeout + 2s);
        }
        const auto& shown = Messages.History();
        std::vector<std::string> texts;
        for (size_t i = shownBefore; i < shown.size(); ++i) {
            texts.push_back(shown[i].Text);
        }
        EXPECT_EQ(texts, ExpectedTexts(upload, expected));
        if (expected.Code != 0) {
            EXPECT_EQ(test::BytesOf(Config.SavedImage.Reserved1), test::BytesOf(int32_t{0x5A5A}))
                << "a failed transfer took the snapshots";
            if (!upload) {
                EXPECT_TRUE(
                    test::SameBytes(test::BytesOf(Config.ConfigImage), test::BytesOf(imageBefore)))
                    << "a failed save changed the image";
            }
        }
        ExpectTheNextTransferSucceeds(upload);
    }

    std::vector<std::string> ExpectedTexts(bool upload, const Outcome& expected) const {
        if (expected.NamespaceWarning) {
            return {"No Namespace-Information in VG.Module found!"};
        }
        if (expected.Code != 0) {
            return {TransferErrorText(expected.Code)};
        }
        return upload ? std::vector<std::string>{}
                      : std::vector<std::string>{"Save Data to VGL successfull!"};
    }

    void ExpectTheNextTransferSucceeds(bool upload) {
        Unit().SetFaults({});
        if (!upload) {
            PrepareDownload();
        }
        // Every request is answered now: a slow answer on a busy machine is waited for.
        Time.SetPatience(W.Par.Timeout);
        EXPECT_TRUE(Run(upload)) << "the link does not work after the fault";
        Time.SetPatience(QuietPatience);
    }

    void RunMatrix() {
        const auto [mode, upload, fault] = GetParam();
        for (int request = 0; request < TransactionCount; ++request) {
            if (const auto expected = Expected(upload, fault, request)) {
                RunOne(upload, fault, request, *expected);
            }
        }
    }
};

TEST_P(FaultMatrixTest, AtEveryTransaction) {
    RunMatrix();
}

std::vector<MatrixCase> AllCases() {
    std::vector<MatrixCase> cases;
    for (CommMode mode : {CommMode::Serial, CommMode::Fieldbus}) {
        for (bool upload : {true, false}) {
            for (Fault fault : AllFaults) {
                // The fieldbus carries no checksum.
                if (fault != Fault::CorruptChecksum || mode == CommMode::Serial) {
                    cases.push_back({mode, upload, fault});
                }
            }
        }
    }
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<MatrixCase>& info) {
    std::string name = std::string(info.param.Mode == CommMode::Serial ? "Serial" : "Fieldbus") +
                       (info.param.Upload ? "Upload" : "Download");
    for (char c : std::string(FaultName(info.param.Kind))) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += c;
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryFault, FaultMatrixTest, ::testing::ValuesIn(AllCases()), CaseName);

} // namespace
} // namespace vg

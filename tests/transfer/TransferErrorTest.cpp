#include "TransferFixture.h"
#include "link/FrameCodec.h"

#include <chrono>
#include <cstring>

namespace vg {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* Saved = TransferText::SavedToUnit;

// Request positions in a transfer with 128 slots: 6 identification bytes, the tools, the 14
// global parameters, then the 10 words of the namespace block.
constexpr int FirstTool = 6;
constexpr int FirstGlobal = FirstTool + 128;
constexpr int FirstNamespaceWord = FirstGlobal + 14;

struct FaultCase {
    const char* Name;
    bool Upload;
    void (*Arm)(sim::SimFaults&);
    int Request;
    ErrorCode Code;
    const char* Text;
};

void RefuseRead(sim::SimFaults& f) {
    f.RefuseRead = true;
}
void RefuseWrite(sim::SimFaults& f) {
    f.RefuseWrite = true;
}
void SoftError(sim::SimFaults& f) {
    f.SoftError = true;
}
void WrongEcho(sim::SimFaults& f) {
    f.WrongEcho = true;
}
void ElementNotAccepted(sim::SimFaults& f) {
    f.ElementNotAccepted = true;
}
void NoReply(sim::SimFaults& f) {
    f.NoReply = true;
}

const FaultCase FaultCases[] = {
    {"identification refused", true, RefuseRead, 0, 6, "Read Error from VGL"},
    {"tool read refused", true, RefuseRead, FirstTool, 6, "Read Error from VGL"},
    {"tool read without flags", true, SoftError, FirstTool + 5, 8, "Soft-Error!"},
    {"tool 4 answered as 5", true, WrongEcho, FirstTool + 4, 7,
     "Syncronisation-Error in communication to VGL"},
    {"global element not accepted", true, ElementNotAccepted, FirstGlobal + 3, 7,
     "Syncronisation-Error in communication to VGL"},
    {"global read without flags", true, SoftError, FirstGlobal + 13, 8, "Soft-Error!"},
    {"unit stops answering during the tools", true, NoReply, FirstTool + 10, 4,
     "Timeout in Communication to VGL!"},
    {"identification refused before a save", false, RefuseRead, 2, 6, "Read Error from VGL"},
    {"tool write refused", false, RefuseWrite, FirstTool + 3, 5, "Write Error from VGL"},
    {"global write refused", false, RefuseWrite, FirstGlobal + 5, 5, "Write Error from VGL"},
    {"global write without flags", false, SoftError, FirstGlobal + 1, 8, "Soft-Error!"},
    {"global write element not accepted", false, ElementNotAccepted, FirstGlobal, 7,
     "Syncronisation-Error in communication to VGL"},
    {"namespace block refused", false, RefuseWrite, FirstNamespaceWord + 2, 5,
     "Write Error from VGL"},
    {"unit stops answering during the save", false, NoReply, FirstTool + 7, 4,
     "Timeout in Communication to VGL!"},
};

class TransferErrorTest : public test::TransferTest {
protected:
    TransferErrorTest() {
        // A save that sends tools, parameters, the namespace block and the names.
        Config.ConfigImage.Tools[2] = {1, 45.5F, 1.0F, 1};
        Config.NamespaceIdValid = true;
        std::memcpy(Config.NamespaceInfo.CU_Id.data(), "00001234", 8);
    }
    bool Run(bool upload) {
        if (upload) {
            return Upload();
        }
        Messages.Expect(Saved);
        return SaveToUnit();
    }
    // After a failure the link must serve the next transfer at once.
    void ExpectTheNextTransferSucceeds(bool upload) {
        Unit().SetFaults({});
        Unit().SetSilent(false);
        Unit().SetAnswerDelay(0ms);
        if (!upload) {
            Messages.Expect(Saved);
        }
        EXPECT_TRUE(upload ? Upload() : SaveToUnit());
        EXPECT_EQ(Config.TransferError, 0U);
    }
};

TEST_P(TransferErrorTest, EachFaultEndsTheTransferWithItsMessageOnce) {
    for (const FaultCase& c : FaultCases) {
        SCOPED_TRACE(c.Name);
        const bool stopsAnswering = c.Arm == NoReply;
        SetFaults(c.Arm, c.Request, stopsAnswering ? INT_MAX : 1);
        const size_t boxesBefore = Messages.History().size();
        Messages.Expect(c.Text);
        EXPECT_FALSE(c.Upload ? Upload() : SaveToUnit());
        EXPECT_EQ(Config.TransferError, c.Code);
        EXPECT_EQ(Messages.History().size(), boxesBefore + 1);
        EXPECT_EQ(Messages.History().back().Kind, MessageKind::Error);
        EXPECT_FALSE(Progress.Visible);
        EXPECT_FALSE(Config.TransferBusy);
        EXPECT_EQ(W.Par.ParState, 0);
        ExpectTheNextTransferSucceeds(c.Upload);
    }
}

TEST_P(TransferErrorTest, AUnitThatStopsAnsweringCostsOneDeadline) {
    struct Case {
        const char* Name;
        bool Upload;
        bool Silent; // everything unanswered, status requests too
    };
    for (const Case c : {Case{"upload, channel", true, false}, Case{"save, channel", false, false},
                         Case{"upload, silent", true, true}, Case{"save, silent", false, true}}) {
        SCOPED_TRACE(c.Name);
        if (c.Silent) {
            Unit().SetSilent(true);
        } else {
            SetFaults(NoReply, FirstTool + 2);
        }
        Messages.Expect("Timeout in Communication to VGL!");
        const auto began = Clock::now();
        EXPECT_FALSE(c.Upload ? Upload() : SaveToUnit());
        const auto took = Clock::now() - began;
        EXPECT_EQ(Config.TransferError, TransferCode::Timeout);
        EXPECT_GE(took, W.Par.Timeout);
        EXPECT_LT(took, 2 * W.Par.Timeout);
        ExpectTheNextTransferSucceeds(c.Upload);
    }
}

TEST_P(TransferErrorTest, AnswersLaterThanTheDeadlineDoNotConfuseTheNextTransfer) {
    Unit().SetAnswerDelay(W.Par.Timeout + 150ms);
    Messages.Expect("Timeout in Communication to VGL!");
    EXPECT_FALSE(Upload());
    ExpectTheNextTransferSucceeds(true);
    ExpectTheNextTransferSucceeds(false);
}

TEST_P(TransferErrorTest, AWriteAnsweredWithoutFlagsIsPassedOver) {
    // The unit answers some tool requests with neither flag; the save goes on.
    SetFaults(SoftError, FirstTool + 2, 1);
    Messages.Expect(Saved);
    EXPECT_TRUE(SaveToUnit());
    EXPECT_EQ(Unit().ChannelRequestsSeen(), FirstNamespaceWord + 10) << "every request was sent";
}

INSTANTIATE_TEST_SUITE_P(BothModes, TransferErrorTest,
                         ::testing::Values(CommMode::Serial, CommMode::Fieldbus), test::ModeName);

// Receive failures only exist on the serial line.
class SerialTransferErrorTest : public TransferErrorTest {};

TEST_P(SerialTransferErrorTest, AnUploadEndsWithTheLinkCodeOfItsLastReceive) {
    SetFaults([](sim::SimFaults& f) { f.CorruptChecksum = true; }, FirstTool + 1);
    Messages.Expect("Illegal Errornumber: 49161");
    EXPECT_FALSE(Upload());
    EXPECT_EQ(Config.TransferError, V24_ERR_CHECKSUM);
    ExpectTheNextTransferSucceeds(true);
}

TEST_P(SerialTransferErrorTest, ASaveAsksAgainWhenAReplyFailsItsChecks) {
    SetFaults([](sim::SimFaults& f) { f.CorruptChecksum = true; }, FirstTool + 1, 1);
    const int before = Unit().ChannelRequestsSeen();
    Messages.Expect(Saved);
    EXPECT_TRUE(SaveToUnit());
    EXPECT_EQ(Unit().ChannelRequestsSeen() - before, FirstNamespaceWord + 10 + 1);

    // A reply that never passes: the save waits for a good one until the deadline.
    SetFaults([](sim::SimFaults& f) { f.CorruptChecksum = true; }, FirstTool + 1);
    Messages.Expect("Timeout in Communication to VGL!");
    EXPECT_FALSE(SaveToUnit());
    EXPECT_EQ(Config.TransferError, TransferCode::Timeout);
    ExpectTheNextTransferSucceeds(false);
}

INSTANTIATE_TEST_SUITE_P(SerialOnly, SerialTransferErrorTest, ::testing::Values(CommMode::Serial),
                         test::ModeName);

TEST(TransferErrorText, EveryCodeHasItsMessage) {
    struct Case {
        ErrorCode Code;
        const char* Text;
    };
    const Case cases[] = {{1, "Error in Namespace-File"},
                          {2, "Error in Parameter-File"},
                          {3, "File Write Error!"},
                          {4, "Timeout in Communication to VGL!"},
                          {5, "Write Error from VGL"},
                          {6, "Read Error from VGL"},
                          {7, "Syncronisation-Error in communication to VGL"},
                          {8, "Soft-Error!"},
                          {20, "No CU_Id available"},
                          {0, "Illegal Errornumber: 0"},
                          {9, "Illegal Errornumber: 9"},
                          {0xC009, "Illegal Errornumber: 49161"}};
    test::ScriptedMessages messages;
    for (const Case& c : cases) {
        messages.Expect(c.Text);
        ShowTransferError(messages, c.Code);
        EXPECT_EQ(messages.History().back().Kind, MessageKind::Error);
        EXPECT_EQ(messages.History().back().Buttons, MessageButtons::Ok);
    }
}

} // namespace
} // namespace vg

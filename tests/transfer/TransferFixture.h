#pragma once

#include "config/FileTestSupport.h"
#include "config/files/NamespaceFile.h"
#include "config/model/ConfigState.h"
#include "config/transfer/Transfer.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"
#include "support/UnitWorld.h"

#include <cstring>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vg::test {

// The progress window as a record of what it was told.
class RecordingProgress : public ProgressView {
public:
    void ShowProgress(const std::string& caption) override {
        Captions.push_back(caption);
        Visible = true;
    }
    void SetProgress(int percent) override { Percents.push_back(percent); }
    void HideProgress() override { Visible = false; }

    std::vector<std::string> Captions;
    std::vector<int> Percents;
    bool Visible = false;
};

// The identifier window typing queued entries, checked as the window checks them. Showing it
// with nothing queued, or leaving entries unused, fails the test.
class ScriptedIdentifier : public IdentifierPrompt {
public:
    ~ScriptedIdentifier() override {
        for (const auto& left : Entries) {
            ADD_FAILURE() << "identifier entry never asked for: " << left;
        }
    }
    void Enter(std::string entry) { Entries.push_back(std::move(entry)); }
    void AskForIdentifier(NamespaceInfo& info, bool& namespaceIdValid) override {
        if (Entries.empty()) {
            ADD_FAILURE() << "unexpected identifier window";
            namespaceIdValid = false;
            return;
        }
        AcceptCuIdEntry(Entries.front(), info, namespaceIdValid);
        Entries.pop_front();
    }

private:
    std::deque<std::string> Entries;
};

template <typename T> std::string BytesOf(const T& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// The bytes a .CD file holds for an image: the image with the pulse time stored plus one.
inline std::string CdBytes(ConfigImage image) {
    image.OutPulseTime += 1;
    return BytesOf(image);
}

// Names the first differing byte instead of printing two 2124-byte strings.
inline ::testing::AssertionResult SameBytes(const std::string& actual,
                                            const std::string& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << "size " << actual.size() << ", expected " << expected.size();
    }
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            return ::testing::AssertionFailure()
                   << "byte " << i << " is " << static_cast<int>(static_cast<uint8_t>(actual[i]))
                   << ", expected " << static_cast<int>(static_cast<uint8_t>(expected[i]));
        }
    }
    return ::testing::AssertionSuccess();
}

// A configuration, a unit in the chosen mode and the services, in a fresh program directory
// with its CD_DATA folder.
template <typename Param> class TransferTestBase : public ::testing::TestWithParam<Param> {
protected:
    explicit TransferTestBase(CommMode mode) : W(mode) {
        Config.DataDir = Dir.ProgramDir();
        std::filesystem::create_directory(Dir / "CD_DATA");
    }

    sim::SimUnit& Unit() { return W.Unit(); }
    bool Upload() { return LoadFromUnit(Config, W.Par, Services, Config.TransferError); }
    bool SaveToUnit() { return vg::SaveToUnit(Config, W.Par, Services, Config.TransferError); }
    bool SaveToFile(const std::filesystem::path& path) {
        return SaveToFiles(Config, path.string(), Services.Messages, Config.TransferError);
    }
    void SetFaults(void (*arm)(sim::SimFaults&), int firstRequest, int count = INT_MAX) {
        sim::SimFaults faults;
        arm(faults);
        faults.FirstRequest = Unit().ChannelRequestsSeen() + firstRequest;
        faults.RequestCount = count;
        Unit().SetFaults(faults);
    }
    // The tool requests the unit received, in order.
    std::vector<DeviceRequest> ToolRequests() const {
        std::vector<DeviceRequest> tools;
        for (const auto& r : W.Unit().ChannelRequestLog()) {
            if (r[1] == RequestCode::ToolRead || r[1] == RequestCode::ToolWrite ||
                r[1] == RequestCode::ToolDelete) {
                tools.push_back(r);
            }
        }
        return tools;
    }

    TempDir Dir;
    UnitWorld W;
    ConfigState Config;
    ScriptedMessages Messages;
    RecordingProgress Progress;
    ScriptedIdentifier Identifier;
    TransferServices Services{Messages, Progress, Identifier};
};

// The usual case: the parameter is the communication mode.
class TransferTest : public TransferTestBase<CommMode> {
protected:
    TransferTest() : TransferTestBase(GetParam()) {}
};

} // namespace vg::test

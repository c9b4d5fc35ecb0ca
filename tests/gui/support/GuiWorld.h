#pragma once

#include "gui/HelpViewer.h"
#include "gui/Program.h"
#include "gui/ProgramContext.h"
#include "session/Session.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedMessages.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>

namespace vg::test {

// The whole program with its long-lived windows in a fresh program directory, message boxes and
// file dialogs answered from scripts. Konfig.Cfg may be written before the windows start.
class GuiWorld {
public:
    explicit GuiWorld(const std::string& konfig = "") {
        std::filesystem::create_directories(Dir / "CD_DATA");
        if (!konfig.empty()) {
            std::ofstream(Dir / "Konfig.Cfg") << konfig;
        }
        Core = std::make_unique<Session>(Dir.ProgramDir());
        Context = std::make_unique<ProgramContext>(*Core, Messages, Files, Help);
        Context->OwnSettingsFile = OwnSettingsFile();
    }
    // An installed program: its folders and the user's below Dir, none of them made yet.
    struct Installed {};
    explicit GuiWorld(Installed) {
        const std::string root = Dir.ProgramDir();
        Core = std::make_unique<Session>(ProgramFolders{root + "bin/", root + "config/vg-config/",
                                                        root + "data/vg-config/",
                                                        root + "share/vg-config/", false});
        Context = std::make_unique<ProgramContext>(*Core, Messages, Files, Help);
        Context->OwnSettingsFile = OwnSettingsFile();
    }
    ~GuiWorld() {
        Windows.reset();
        Context.reset();
        Core.reset();
    }

    void Start() { Windows = std::make_unique<WindowSet>(*Context); }
    // The user's settings file of the windows, kept in the test's folder.
    std::string OwnSettingsFile() const {
        return (Dir / "config/vg-config/vgconfig.conf").string();
    }
    ProgramWindows& W() { return Context->Windows; }

    TempDir Dir;
    ScriptedMessages Messages;
    ScriptedFileDialogs Files;
    HelpViewer Help;
    std::unique_ptr<Session> Core;
    std::unique_ptr<ProgramContext> Context;
    std::unique_ptr<WindowSet> Windows;
};

// Runs status poll ticks until `done` holds or `timeout` passes. On the serial line a reply
// may come within the tick that asked or only after it: between ticks this waits (bounded)
// for one to arrive rather than guessing.
template <typename Predicate>
bool PollUntil(Session& core, Predicate done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        core.Status.Tick();
        if (done()) {
            return true;
        }
        core.Slot.WaitForReply(
            std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(200)));
    }
    return done();
}

// Runs `action` once the next modal window has opened (tests drive modal dialogs this way).
inline void WhenModalOpens(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

} // namespace vg::test

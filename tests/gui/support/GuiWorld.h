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
#include <fstream>
#include <functional>
#include <memory>

namespace vg::test {

// The whole program with its eleven windows in a fresh program directory, message boxes and
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
    }
    ~GuiWorld() {
        Windows.reset();
        Context.reset();
        Core.reset();
    }

    void Start() { Windows = std::make_unique<WindowSet>(*Context); }
    ProgramWindows& W() { return Context->Windows; }

    TempDir Dir;
    ScriptedMessages Messages;
    ScriptedFileDialogs Files;
    HelpViewer Help;
    std::unique_ptr<Session> Core;
    std::unique_ptr<ProgramContext> Context;
    std::unique_ptr<WindowSet> Windows;
};

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

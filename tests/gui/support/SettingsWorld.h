#pragma once

#include "config/model/TextFormats.h"
#include "gui/NumberField.h"
#include "gui/RadioGroup.h"
#include "gui/SettingsWindow.h"
#include "gui/StatusBarWidget.h"
#include "gui/TextCodec.h"
#include "gui/ToolEditor.h"
#include "support/GuiWorld.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace vg::test {

// Runs `action` once the window `window()` names is the modal window in front (a window
// built when it opens is named once it exists); fails the test when it has not opened within
// `limitMs`.
inline void WhenWindowOpens(std::function<QWidget*()> window, std::function<void()> action,
                            int limitMs = 10000) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, window, action, limitMs] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool open = modal != nullptr && modal == window();
        if (!open && clock->elapsed() < limitMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (open) {
            action();
        } else {
            ADD_FAILURE() << "the window never opened";
        }
    });
    timer->start();
}

inline void WhenWindowOpens(QWidget* window, std::function<void()> action, int limitMs = 10000) {
    WhenWindowOpens([window] { return window; }, std::move(action), limitMs);
}

// The program with a configuration in place as a load leaves it, and the settings window.
class SettingsWorld : public GuiWorld {
public:
    using GuiWorld::GuiWorld;

    ConfigState& Config() { return Core->Config; }
    SettingsWindow& Settings() { return *W().Settings; }
    // The single-tool editor while it is open.
    ToolEditor& Editor() { return *Settings().OpenEditor(); }
    // Runs `action` once the settings window's editor has opened.
    void WhenEditorOpens(std::function<void()> action) {
        WhenWindowOpens([this]() -> QWidget* { return Settings().OpenEditor(); },
                        std::move(action));
    }

    void SetTool(int nr, int32_t angleHundredths, int32_t toleranceHundredths, int intensity,
                 const std::string& name = "") {
        ToolRecord& tool = Config().ConfigImage.Tools[static_cast<size_t>(nr)];
        tool = {1, HundredthsToValue(angleHundredths), HundredthsToValue(toleranceHundredths),
                intensity};
        if (!name.empty()) {
            ToolNameRecord& record = Config().ToolNameTable[static_cast<size_t>(nr)];
            record.Defined = 1;
            std::memcpy(record.Name.data(), name.c_str(), name.size() + 1);
        }
    }

    // The factory settings of a unit, as an upload would bring them.
    void SetUnitSettings() {
        SetConfigDefaults(Config().ConfigImage);
        Config().ConfigImage.DefaultAngle = 12000;
        Config().ConfigImage.OutPulseTime = 20;
    }

    // What a load ends with: the source, the lines and the snapshots.
    void Loaded(ConfigSource source, const std::string& fileName = "") {
        Config().ConfigSource = source;
        Config().ConfigFileName = fileName;
        BuildToolLines(Config());
        TakeSnapshots(Config());
    }
    std::string DataFile(const std::string& name) const {
        return (Dir / "CD_DATA" / name).string();
    }

    // Opens the settings window without waiting for it, active so fields take the focus.
    void Open() {
        Settings().show();
        Settings().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Settings()));
    }

    // The user replaces a number field's text and moves on to `next`.
    static void Type(NumberField* field, const QString& text, QWidget* next) {
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, text);
        next->setFocus(Qt::TabFocusReason);
    }

    int SelectedLine() { return Settings().ToolList->currentRow(); }
    std::string LineText(int row) { return ToAnsi(Settings().ToolList->item(row)->text()); }
};

} // namespace vg::test

#include "config/files/ConfigFile.h"
#include "config/transfer/Transfer.h"
#include "gui/DifferencesWindow.h"
#include "gui/IdentifierWindow.h"
#include "gui/Language.h"
#include "gui/MainWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/TransferActions.h"
#include "support/GuiWorld.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace vg {
namespace {

// The main window against the built-in unit on the fieldbus; the test runs the poll.
class SupportWindowsTest : public ::testing::Test {
protected:
    SupportWindowsTest() {
        World.Start();
        Main = World.W().Main;
        Main->PollTimer->stop();
    }
    ConfigState& Config() { return World.Core->Config; }
    sim::SimUnit& Unit() { return World.Core->BuiltInUnit; }
    std::string File(const std::string& name) const {
        return (World.Dir / "CD_DATA" / name).string();
    }

    test::GuiWorld World;
    MainWindow* Main = nullptr;
};

TEST_F(SupportWindowsTest, VerifyIsOffUntilChosenThenKeptAndShowsWhatTheUnitKeptOtherwise) {
    EXPECT_FALSE(Main->VerifyAfterSaveAction->isChecked());
    Main->VerifyAfterSaveAction->trigger();
    EXPECT_TRUE(Main->VerifyAfterSaveAction->isChecked());
    EXPECT_TRUE(LoadVerifyAfterSave(World.OwnSettingsFile())) << "kept for the next start";
    std::ifstream konfig(World.Dir / "Konfig.Cfg");
    EXPECT_FALSE(konfig.is_open()) << "never in the communication settings";

    Config().ConfigSource = ConfigSource::Unit;
    ASSERT_TRUE(LoadConfigurationFromUnit(*World.Context));
    sim::SimFaults faults;
    faults.MisstoredTool = 5;
    Unit().SetFaults(faults);
    QStringList captions;
    TransferWindows windows(*World.Context);
    QObject::connect(&windows.Progress, &QWidget::windowTitleChanged,
                     [&captions](const QString& title) { captions << title; });
    World.Messages.Expect("Save Data to VGL successfull!");
    World.Messages.Expect("The unit holds other values than were sent:\n"
                          "tool 5: angle 160.00 sent, 161.00 stored");
    EXPECT_TRUE(SaveToUnitWithWindows(*World.Context, Main->VerifyAfterSave(), windows));
    EXPECT_EQ(captions, (QStringList{"Sending data to VGL. Please wait ...",
                                     "Reading back data from VGL. Please wait ..."}));
}

TEST_F(SupportWindowsTest, CompareWithFileIsOfferedWhileTheUnitAnswersAndLeavesTheImageAlone) {
    EXPECT_FALSE(Main->CompareWithFileAction->isEnabled());
    World.Core->Status.Tick();
    ASSERT_TRUE(Main->CompareWithFileAction->isEnabled());

    // A file of what the unit holds, and a configuration of another file in the program.
    ConfigState unit;
    unit.DataDir = Config().DataDir;
    test::ScriptedMessages quiet;
    TransferWindows windows(*World.Context);
    ASSERT_TRUE(LoadFromUnit(unit, World.Core->Par, {quiet, windows.Progress, windows.Identifier},
                             unit.TransferError));
    ErrorCode error = 0;
    ASSERT_TRUE(WriteConfigFile(unit, File("VGL_00001234.CD"), error));
    Config().ConfigSource = ConfigSource::File;
    Config().ConfigFileName = File("VGL_00005555.CD");
    Config().NamespaceIdValid = false;

    World.Files.Answer(QString::fromStdString(File("VGL_00001234.CD")));
    World.Messages.Expect("Unit and file are the same.");
    Main->CompareWithFileAction->trigger();

    Unit().SetTool(5, {true, 17055, 10, 1});
    World.Files.Answer(QString::fromStdString(File("VGL_00001234.CD")));
    QStringList shown;
    QString title;
    test::WhenModalOpens([&](QWidget* modal) {
        auto* window = qobject_cast<DifferencesWindow*>(modal);
        ASSERT_NE(window, nullptr);
        title = window->windowTitle();
        for (int i = 0; i < window->DifferenceList->count(); ++i) {
            shown << window->DifferenceList->item(i)->text();
        }
        window->OkButton->click();
    });
    Main->CompareWithFileAction->trigger();
    EXPECT_EQ(title, "VG-Config / Compare with File / VGL_00001234.CD");
    EXPECT_EQ(shown, QStringList{"tool 5: angle 160.00 in file, 170.55 in unit"});
    EXPECT_EQ(Config().ConfigSource, ConfigSource::File);
    EXPECT_EQ(Config().ConfigFileName, File("VGL_00005555.CD"));
    EXPECT_FALSE(Config().NamespaceIdValid);
}

TEST_F(SupportWindowsTest, TraceLineTrafficWritesTheLineUntilUnchecked) {
    World.Files.Answer(std::nullopt);
    Main->TraceLineTrafficAction->trigger();
    EXPECT_FALSE(Main->TraceLineTrafficAction->isChecked()) << "cancelled: no trace";

    const std::string path = (World.Dir / "trace.txt").string();
    World.Files.Answer(QString::fromStdString(path));
    Main->TraceLineTrafficAction->trigger();
    EXPECT_TRUE(Main->TraceLineTrafficAction->isChecked());
    World.Core->Status.Tick();
    Main->TraceLineTrafficAction->trigger();
    EXPECT_FALSE(Main->TraceLineTrafficAction->isChecked());
    World.Core->Status.Tick(); // not traced any more
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    EXPECT_EQ(text.str().find(" EV port open"), std::string::npos) << "opened before the trace";
    std::string line;
    ASSERT_TRUE(std::getline(text, line));
    EXPECT_EQ(line.rfind("# VG-Config line trace: vgconfig ", 0), 0u) << line;
    std::vector<std::string> lines;
    while (std::getline(text, line)) {
        lines.push_back(line.substr(11));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "TX 00 00 00 00 00 00 | status request",
                         "RX 00 01 00 00 00 00 | status: tool 0, state 0x01 (zero position), "
                         "error 0x00, angle 0.00",
                         "EV unit found"}));
}

// Options > Language offers the system's language, English and each translation beside the
// program by its own name; a choice is kept for the next start and the user is told so.
TEST(LanguageChoice, ListsEachTranslationAndKeepsTheChoiceForTheNextStart) {
    test::GuiWorld world;
    std::filesystem::create_directories(world.Dir / "translations");
    std::filesystem::copy_file(ExecutableDirectory() + "translations/vgconfig_de.qm",
                               world.Dir / "translations/vgconfig_de.qm");
    world.Start();
    QMenu* language = nullptr;
    for (QAction* menu : world.W().Main->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->menu() != nullptr && item->text() == QStringLiteral("&Language")) {
                language = item->menu();
            }
        }
    }
    ASSERT_NE(language, nullptr);
    QStringList captions;
    QStringList checked;
    for (QAction* item : language->actions()) {
        captions << item->text();
        if (item->isChecked()) {
            checked << item->text();
        }
    }
    EXPECT_EQ(captions, (QStringList{"&System", "English", "Deutsch"}));
    EXPECT_EQ(checked, QStringList{"&System"}) << "nothing kept: the system's language";

    const std::string told =
        "The windows speak the chosen language from the next start of the program.";
    world.Messages.Expect(told);
    language->actions().at(2)->trigger();
    EXPECT_EQ(LoadLanguage(world.OwnSettingsFile()), "de");
    world.Messages.Expect(told);
    language->actions().at(0)->trigger();
    EXPECT_EQ(LoadLanguage(world.OwnSettingsFile()), "");
    EXPECT_TRUE(world.Messages.AllAnswered());
    // this run still speaks what it started with
    EXPECT_EQ(world.W().Main->menuBar()->actions().constFirst()->text().toStdString(), "&File");
}

} // namespace
} // namespace vg

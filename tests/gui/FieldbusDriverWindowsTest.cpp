// Fieldbus mode through a driver library in the windows, and the built-in simulated unit told
// apart from a real unit.

#include "config/FileTestSupport.h"
#include "gui/CommunicationDialog.h"
#include "gui/FieldbusDriverChooser.h"
#include "gui/MainWindow.h"
#include "gui/StatusBarWidget.h"
#include "support/DriverLibraries.h"
#include "support/GuiWorld.h"

#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace vg {
namespace {

using namespace std::chrono_literals;

// The message ends with where to go from there.
std::string LoadFailureText(const std::string& path, const std::string& reason) {
    return "Init Communication failed! ErrorCode=C010H\nPort is not available or occupied by "
           "another process.\nFieldbus driver " +
           path + ": " + reason +
           "\nOptions > Communication: \"Driver...\" chooses a driver that loads, "
           "\"Simulated unit\" goes back to the built-in unit.";
}

const StatusBarWidget& MainBar(test::GuiWorld& world) {
    return *world.W().Main->StatusBar;
}

TEST(SimulatedUnitMark, TheBuiltInUnitIsNamedInTitleStatusBarAndDialog) {
    test::GuiWorld world;
    world.Start();
    EXPECT_EQ(world.W().Main->windowTitle(), "VG-Config [simulated unit]");
    ASSERT_TRUE(test::PollUntil(*world.Core, [&] { return world.Core->Poll.Online; }));
    EXPECT_EQ(MainBar(world).ShownPanelText(StatusPanel::Error), "Simulated unit");
    EXPECT_EQ(MainBar(world).SpokenPanelText(StatusPanel::Error), "Simulated unit");
    const CommunicationDialog dialog(*world.Context);
    EXPECT_EQ(dialog.DriverChooser->DriverLabel->text(), "built-in simulated unit");

    // A message of the unit comes first.
    world.Core->BuiltInUnit.SetErrorBits(0x41);
    ASSERT_TRUE(test::PollUntil(
        *world.Core, [&] { return !MainBar(world).PanelText(StatusPanel::Error).isEmpty(); }));
    EXPECT_EQ(MainBar(world).ShownPanelText(StatusPanel::Error), "ERROR! Cable broken!");
}

TEST(FieldbusDriverWindows, ADriverNamedInKonfigShowsItsUnitUnmarked) {
    const std::string driver = test::DriverLibrary("vgdp-fake-slave");
    test::GuiWorld world("M:1\r\nD:" + driver + "\r\n");
    world.Start();
    EXPECT_TRUE(world.Messages.History().empty());
    EXPECT_EQ(world.W().Main->windowTitle(), "VG-Config");
    ASSERT_TRUE(test::PollUntil(*world.Core, [&] { return world.Core->Poll.Online; }));
    const StatusBarWidget& bar = MainBar(world);
    EXPECT_EQ(bar.ShownPanelText(StatusPanel::Error), "ERROR! Control Unit!");
    EXPECT_EQ(bar.PanelText(StatusPanel::Scanning), "Scanning");
    EXPECT_EQ(bar.PanelText(StatusPanel::Angle), " MeasA.: 123.45");
    EXPECT_TRUE(world.Context->LiveStatus.Lamps().Out1On);
    EXPECT_EQ(world.Core->BuiltInUnit.RequestsSeen(), 0);
    CommunicationDialog dialog(*world.Context);
    dialog.show();
    EXPECT_EQ(dialog.DriverChooser->DriverLabel->toolTip().toStdString(), driver);
    dialog.CancelButton->click();
}

TEST(FieldbusDriverWindows, ADriverThatCannotBeLoadedIsToldAndNeverReplaced) {
    const std::string driver = test::DriverLibrary("vgdp-fake-no-read-inputs");
    test::GuiWorld world("D:" + driver + "\r\n");
    world.Messages.Expect(LoadFailureText(driver, "undefined symbol: vgdp_read_inputs"));
    world.Start();
    EXPECT_EQ(world.W().Main->PollTimer->interval(), 700);
    // The poll keeps trying to open the fieldbus and stays offline.
    EXPECT_FALSE(test::PollUntil(
        *world.Core, [&] { return world.Core->Poll.Online; }, 300ms));
    EXPECT_FALSE(world.Core->BuiltInMaster.IsOpen());
    EXPECT_EQ(world.Core->BuiltInUnit.RequestsSeen(), 0);
    EXPECT_EQ(world.W().Main->windowTitle(), "VG-Config");
    EXPECT_EQ(MainBar(world).ShownPanelText(StatusPanel::Error), "");
}

TEST(FieldbusDriverWindows, TheDialogKeepsChoosesAndDropsTheDriver) {
    const std::string sim = test::DriverLibrary("vgdp-sim");
    const std::string fake = test::DriverLibrary("vgdp-fake-slave");
    test::GuiWorld world("A:50\r\nC:1\r\nM:1\r\nD:" + sim + "\r\n");
    world.Start();
    CommunicationDialog dialog(*world.Context);
    const auto cfg = world.Dir / "Konfig.Cfg";

    // Another setting changed: the driver's line stays.
    dialog.show();
    dialog.ComPortItems->button(2)->click();
    dialog.CloseButton->click();
    EXPECT_EQ(test::ReadBytes(cfg), "A:50\r\nC:3\r\nM:1\r\nD:" + sim + "\r\n");

    // Another driver, chosen from a file, is loaded at once and reached on the next ticks.
    world.Files.Answer(QString::fromStdString(fake));
    dialog.show();
    dialog.DriverChooser->ChooseDriverButton->click();
    dialog.CloseButton->click();
    EXPECT_EQ(test::ReadBytes(cfg), "A:50\r\nC:3\r\nM:1\r\nD:" + fake + "\r\n");
    ASSERT_TRUE(test::PollUntil(*world.Core, [&] {
        return world.Core->Poll.Online &&
               MainBar(world).PanelText(StatusPanel::Error) == "ERROR! Control Unit!";
    }));

    // Back to the simulated unit, through the menu: the title says so again.
    MainWindow& main = *world.W().Main;
    test::WhenModalOpens([](QWidget* modal) {
        auto* built = qobject_cast<CommunicationDialog*>(modal);
        ASSERT_NE(built, nullptr);
        built->DriverChooser->SimulatedUnitButton->click();
        built->CloseButton->click();
    });
    main.CommunicationAction->trigger();
    EXPECT_EQ(test::ReadBytes(cfg), "A:50\r\nC:3\r\nM:1\r\n");
    EXPECT_EQ(main.windowTitle(), "VG-Config [simulated unit]");
    EXPECT_EQ(world.Core->LoadedDriver(), nullptr);

    // A driver that cannot be used is told as at start, and the simulated unit is not used.
    const std::string broken = test::DriverLibrary("vgdp-fake-abi2");
    world.Files.Answer(QString::fromStdString(broken));
    world.Messages.Expect(
        LoadFailureText(broken, "built for interface version 2, this program takes version 1"));
    dialog.show();
    dialog.DriverChooser->ChooseDriverButton->click();
    dialog.CloseButton->click();
    EXPECT_FALSE(test::PollUntil(
        *world.Core, [&] { return world.Core->Poll.Online; }, 300ms));
    EXPECT_FALSE(world.Core->BuiltInMaster.IsOpen());
}

// A driver file that is not where the settings say is marked in the dialog, a relative path
// taken from the settings' folder; one that is there is not.
TEST(FieldbusDriverWindows, TheDialogMarksADriverFileThatIsNotThere) {
    const std::string there = test::DriverLibrary("vgdp-fake-slave");
    test::GuiWorld world("D:drivers/vgdp-gone.so\r\n");
    world.Messages.AcceptAll(); // told at start: ADriverThatCannotBeLoadedIsTold...
    world.Start();
    ASSERT_EQ(world.Messages.History().size(), 1u);
    EXPECT_NE(world.Messages.History()[0].Text.find("\nOptions > Communication: "),
              std::string::npos);
    CommunicationDialog dialog(*world.Context);
    dialog.show();
    QLabel* shown = dialog.DriverChooser->DriverLabel;
    EXPECT_TRUE(shown->text().endsWith(QStringLiteral("(not there)")))
        << shown->text().toStdString();
    EXPECT_EQ(shown->toolTip().toStdString(), "drivers/vgdp-gone.so  (not there)");

    std::filesystem::create_directories(world.Dir / "drivers");
    std::filesystem::copy_file(there, world.Dir / "drivers" / "vgdp-gone.so");
    dialog.CancelButton->click();
    dialog.show();
    EXPECT_EQ(shown->toolTip().toStdString(), "drivers/vgdp-gone.so");
    world.Files.Answer(QString::fromStdString(there + ".missing"));
    dialog.DriverChooser->ChooseDriverButton->click();
    EXPECT_EQ(shown->toolTip().toStdString(), there + ".missing  (not there)");
    dialog.CancelButton->click();
}

} // namespace
} // namespace vg

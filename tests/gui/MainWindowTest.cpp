#include "gui/MainWindow.h"

#include "gui/CommunicationDialog.h"
#include "gui/FieldbusDriverChooser.h"
#include "gui/ProgressWindow.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "gui/TransferActions.h"
#include "support/ChooserScript.h"
#include "support/GuiWorld.h"
#include "support/SimProcess.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sstream>

namespace vg {
namespace {

using namespace std::chrono_literals;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        World.Start();
        Main = World.W().Main;
        Main->PollTimer->stop(); // the test drives the poll itself
    }
    QString Panel(int panel) const { return Main->StatusBar->PanelText(panel); }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            World.Core->Status.Tick();
        }
    }

    test::GuiWorld World;
    MainWindow* Main = nullptr;
};

TEST_F(MainWindowTest, ControlsFollowTheUnitAnsweringAndFallingSilent) {
    World.Core->BuiltInUnit.SetCurrentTool(5);
    World.Core->BuiltInUnit.SetErrorBits(0x41);
    Ticks(1);
    EXPECT_TRUE(Main->MonitorModeAction->isEnabled());
    EXPECT_TRUE(test::ChooserOffersUnit(*World.Context));
    EXPECT_EQ(Main->PollTimer->interval(), 120);
    EXPECT_EQ(Panel(StatusPanel::Error), "ERROR! Cable broken!");
    EXPECT_EQ(Panel(StatusPanel::Scanning), "Zero-Pos.");
    EXPECT_EQ(Panel(StatusPanel::Angle), " MeasA.:   0.00");
    EXPECT_EQ(Panel(StatusPanel::Id), "Id: --------");

    // The built-in master itself stays available: a silent slave is lost on the next tick
    // (the one after that reopens the master, which counts as online again).
    World.Core->BuiltInUnit.SetSilent(true);
    Ticks(1);
    EXPECT_FALSE(Main->MonitorModeAction->isEnabled());
    EXPECT_FALSE(test::ChooserOffersUnit(*World.Context));
    EXPECT_EQ(Main->PollTimer->interval(), 800);
    EXPECT_EQ(Panel(StatusPanel::Scanning), "-----");
    EXPECT_EQ(Panel(StatusPanel::Angle), "-----");
    const QImage bar = Main->StatusBar->grab().toImage();
    EXPECT_EQ(bar.pixelColor(Main->StatusBar->OnlineLampCentre()), QColor(0xFF, 0, 0));
}

TEST_F(MainWindowTest, StatusBarIsScaledToTheWindowWidth) {
    EXPECT_DOUBLE_EQ(World.Context->StatusBarScale, Main->width() / 640.0);
    EXPECT_EQ(Main->StatusBar->PanelWidth(0), static_cast<int>(232 * Main->width() / 640.0));
}

TEST_F(MainWindowTest, ProgressAdvancesWhileNoTickRuns) {
    Ticks(1);
    std::vector<int> seen;
    TransferWindows windows(*World.Context);
    QProgressBar* bar = windows.Progress.ProgressBar;
    const uint32_t recordsBefore = World.Core->Status.RecordsProcessed();
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        seen.push_back(value);
        // The progress window paints through the event loop; the poll must stay out of it.
        EXPECT_EQ(World.Core->Status.RecordsProcessed(), recordsBefore);
    });
    Main->PollTimer->start(1); // a tick would come at once if anything let it through
    World.Core->Config.ConfigSource = ConfigSource::Unit;
    EXPECT_TRUE(LoadConfigurationFromUnit(*World.Context, windows));
    Main->PollTimer->stop();
    // A step per tool slot of the 128-slot unit: n * 100 / 129 for n = 0..127.
    ASSERT_EQ(seen.size(), 98u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 98);
    EXPECT_FALSE(windows.Progress.isVisible());
    EXPECT_FALSE(World.Core->Config.ToolLines.empty());
}

TEST_F(MainWindowTest, F1OpensTheTopicOfTheWindowInFront) {
    Main->show();
    QApplication::setActiveWindow(Main);
    QTest::keyClick(Main, Qt::Key_F1);
    EXPECT_EQ(World.Help.ShownTopic(), 1);
    CommunicationDialog konfig(*World.Context);
    konfig.show();
    QApplication::setActiveWindow(&konfig);
    QTest::keyClick(&konfig, Qt::Key_F1);
    EXPECT_EQ(World.Help.ShownTopic(), 10);
    konfig.CancelButton->click();
    Main->HelpAction->trigger();
    EXPECT_EQ(World.Help.ShownTopic(), 0);
    EXPECT_EQ(World.Help.HelpFile().toStdString(), World.Dir.ProgramDir() + "ROVOZUZ_E.html");
}

// Each menu and each item can be reached by its letter, and no two in one menu share one;
// the captions read as designed.
TEST_F(MainWindowTest, EveryMenuAndItemHasItsOwnAccessKey) {
    const auto keysUnique = [](const QList<QAction*>& actions, const QString& where) {
        std::set<QString> keys;
        for (const QAction* action : actions) {
            if (action->isSeparator()) {
                continue;
            }
            const QString key = QKeySequence::mnemonic(action->text()).toString();
            EXPECT_FALSE(key.isEmpty()) << "no access key: " << action->text().toStdString();
            EXPECT_TRUE(keys.insert(key).second)
                << where.toStdString() << ": " << key.toStdString() << " twice";
        }
    };
    QMenuBar* bar = Main->menuBar();
    keysUnique(bar->actions(), QStringLiteral("menu bar"));
    QStringList captions;
    for (const QAction* title : bar->actions()) {
        captions << QString(title->text()).remove(QLatin1Char('&'));
        keysUnique(title->menu()->actions(), title->text());
        for (const QAction* item : title->menu()->actions()) {
            captions << QString(item->text()).remove(QLatin1Char('&'));
        }
    }
    EXPECT_EQ(captions, (QStringList{"File", "Open", "Quit", "Vigilo", "Manual Mode",
                                     "Monitor Mode", "Compare with File...", "Options",
                                     "Communication", "Verify after saving to the unit",
                                     "Trace Line Traffic...", "Language", "?", "Help", "About"}));

    // "?" is a key of its own.
    Main->show();
    QApplication::setActiveWindow(Main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Main));
    QTest::keyClick(Main, Qt::Key_Question, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), Main->HelpAction->parent());
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

// Counts the mouse presses that reach a widget.
class PressCounter : public QObject {
public:
    int Presses = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        Presses += event->type() == QEvent::MouseButtonPress ? 1 : 0;
        return false;
    }
};

// The help of a modal window is not blocked by it (clicks reach it), and Escape closes the
// help alone.
TEST_F(MainWindowTest, HelpFromAModalWindowTakesClicksAndEscapeClosesIt) {
    CommunicationDialog konfig(*World.Context);
    PressCounter clicks;
    World.Help.viewport()->installEventFilter(&clicks);
    bool helpActive = false;
    bool helpClosed = false;
    bool konfigOpen = false;
    test::WhenModalOpens([&](QWidget* modal) {
        modal->activateWindow();
        if (QTest::qWaitForWindowActive(modal, 2000)) {
            QTest::keyClick(modal, Qt::Key_F1);
            helpActive = QTest::qWaitForWindowActive(&World.Help, 2000);
        }
        // through the window system, which drops the clicks of a blocked window
        QTest::mouseClick(World.Help.viewport(), Qt::LeftButton);
        QTest::keyClick(&World.Help, Qt::Key_Escape);
        helpClosed = !World.Help.isVisible();
        konfigOpen = konfig.isVisible();
        konfig.CancelButton->click();
    });
    konfig.exec();
    EXPECT_TRUE(helpActive);
    EXPECT_EQ(clicks.Presses, 1);
    EXPECT_TRUE(helpClosed);
    EXPECT_TRUE(konfigOpen);
}

// A dialog is built for each use, but opens where the user left the last one, as one dialog
// shown again would.
TEST_F(MainWindowTest, TheCommunicationDialogOpensWhereItWasLeft) {
    std::vector<QPoint> opened;
    const auto openAndMove = [&](QPoint to) {
        test::WhenModalOpens([&opened, to](QWidget* modal) {
            auto* dialog = qobject_cast<CommunicationDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            opened.push_back(dialog->pos());
            dialog->move(to);
            dialog->CancelButton->click();
        });
        Main->CommunicationAction->trigger();
    };
    openAndMove(QPoint(123, 45));
    openAndMove(QPoint(67, 89));
    openAndMove(QPoint(0, 0));
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[1], QPoint(123, 45));
    EXPECT_EQ(opened[2], QPoint(67, 89));
}

TEST_F(MainWindowTest, ClosingTheMainWindowStopsTheLink) {
    EXPECT_TRUE(World.Core->BuiltInMaster.IsOpen());
    Main->close();
    EXPECT_FALSE(World.Core->BuiltInMaster.IsOpen());
    EXPECT_FALSE(Main->PollTimer->isActive());
}

TEST_F(MainWindowTest, AWorkingWindowTakesTheMainWindowsPlaceAndHandsBackItsState) {
    Main->show();
    Main->move(40, 30);
    QDialog working;
    bool checked = false;
    test::WhenModalOpens([&](QWidget*) {
        EXPECT_FALSE(Main->isVisible());
        EXPECT_EQ(World.Context->FrontWindow, WindowInFront::Settings);
        EXPECT_EQ(working.pos(), QPoint(40, 30));
        World.Context->LiveStatus.ShowOn(nullptr); // as the working window would
        working.setWindowState(Qt::WindowMaximized);
        checked = true;
        working.accept();
    });
    Main->OpenWorkingWindow(&working, WindowInFront::Settings);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(Main->isVisible());
    EXPECT_TRUE(Main->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(World.Context->FrontWindow, WindowInFront::Main);
    EXPECT_EQ(World.Context->LiveStatus.Target(), Main->StatusBar);
}

QString HelpFileText() {
    std::ifstream in(std::string(VG_SOURCE_DIR) + "/help/ROVOZUZ_E.html");
    std::stringstream text;
    text << in.rdbuf();
    return QString::fromStdString(text.str());
}

// The communication topic tells how fieldbus mode reaches a unit: through a driver chosen
// with the dialog's own button, the built-in unit otherwise.
TEST_F(MainWindowTest, HelpOnCommunicationTellsHowToChooseTheDriver) {
    const QString html = HelpFileText();
    const qsizetype start = html.indexOf(QStringLiteral("name=\"context-10\""));
    ASSERT_GE(start, 0);
    const QString topic = html.mid(start, html.indexOf(QStringLiteral("<h2>"), start) - start);
    const CommunicationDialog konfig(*World.Context);
    const FieldbusDriverChooser& chooser = *konfig.DriverChooser;
    for (const QPushButton* button : {chooser.ChooseDriverButton, chooser.SimulatedUnitButton}) {
        const QString caption = QString(button->text()).remove(QLatin1Char('&'));
        EXPECT_TRUE(topic.contains(QStringLiteral("<b>%1</b>").arg(caption)))
            << caption.toStdString();
    }
}

TEST(HelpFile, HasATopicForEveryHelpContext) {
    const QString html = HelpFileText();
    std::set<int> anchors;
    const QRegularExpression anchor(QStringLiteral("name=\"context-(\\d+)\""));
    for (auto it = anchor.globalMatch(html); it.hasNext();) {
        anchors.insert(it.next().captured(1).toInt());
    }
    for (int context : {1, 5, 6, 7, 9, 10, 11, 12, 13}) {
        EXPECT_TRUE(anchors.count(context)) << "no topic for help context " << context;
    }
    EXPECT_TRUE(html.contains(QStringLiteral("name=\"contents\"")));
}

// F1 opens the German help at the same anchors: it has every one the English has, and no other.
TEST(HelpFile, GermanKeepsTheAnchorsOfTheEnglish) {
    const auto anchors = [](const char* name) {
        std::ifstream in(std::string(VG_SOURCE_DIR) + "/help/" + name);
        std::stringstream text;
        text << in.rdbuf();
        QStringList found;
        const QRegularExpression anchor(QStringLiteral("(?:name|href)=\"#?([^\"]+)\""));
        for (auto it = anchor.globalMatch(QString::fromStdString(text.str())); it.hasNext();) {
            found << it.next().captured(1);
        }
        return found;
    };
    const QStringList english = anchors("ROVOZUZ_E.html");
    ASSERT_GT(english.size(), 20);
    EXPECT_EQ(anchors("ROVOZUZ_D.html"), english);
}

// The program's windows against vigilo-sim on a pseudo-terminal linked as COM1.
TEST(MainWindowSerial, OnlineUploadThroughTheChooserAndOfflineWhenTheUnitGoes) {
    test::GuiWorld world("A:50\r\nC:1\r\nM:2\r\n");
    auto sim = std::make_unique<test::SimProcess>(std::vector<std::string>{
        "--link", (world.Dir / "COM1").string(), "--demo-tools", "--cu-id", "00004711"});
    world.Start();
    MainWindow& main = *world.W().Main;
    main.PollTimer->stop();
    ASSERT_TRUE(world.Core->Serial.ReceiverRunning());
    Session& core = *world.Core;
    ASSERT_TRUE(test::PollUntil(core, [&core] { return core.Poll.Online; }));
    EXPECT_TRUE(main.MonitorModeAction->isEnabled());
    ASSERT_TRUE(test::ChooserOffersUnit(*world.Context));

    test::ClickInChooser(&SourceChooser::UnitButton);
    ASSERT_TRUE(SelectAndLoad(*world.Context));
    EXPECT_EQ(core.Config.ConfigSource, ConfigSource::Unit);
    EXPECT_TRUE(core.Config.NamespaceIdValid);
    EXPECT_EQ(core.Config.ToolLines.size(), 5u); // the simulator's demonstration tools
    EXPECT_TRUE(test::PollUntil(
        core, [&main] { return main.StatusBar->PanelText(StatusPanel::Id) == "Id: 00004711"; }));

    sim.reset(); // the unit goes away
    for (int tick = 0; tick < 12; ++tick) {
        core.Status.Tick();
    }
    EXPECT_FALSE(core.Poll.Online);
    EXPECT_FALSE(main.MonitorModeAction->isEnabled());
    EXPECT_FALSE(test::ChooserOffersUnit(*world.Context));
    EXPECT_EQ(main.StatusBar->PanelText(StatusPanel::Angle), "-----");
}

// COM1 leads to the adapter's stable name, and the unit comes and goes under it. The program
// tells at start that the port is not there, and then comes online by itself each time the
// unit is plugged in, with the timer at its own rhythm.
TEST(MainWindowSerial, ComesOnlineByItselfEachTimeTheUnitIsPluggedIn) {
    test::GuiWorld world("A:50\r\nC:1\r\nM:2\r\n");
    const std::string name = (world.Dir / "unit").string();
    std::filesystem::create_symlink(name, world.Dir / "COM1");
    world.Messages.Expect("Init Communication failed! ErrorCode=C001H\nPort is not available or "
                          "occupied by another process.\nDevice " +
                          name + ": No such file or directory\nCOM1 leads through " +
                          world.Dir.ProgramDir() + "COM1 to " + name +
                          ", which is not there: is the adapter plugged in?");
    world.Start();
    MainWindow& main = *world.W().Main;
    Session& core = *world.Core;
    constexpr int Bound = 10000; // the poll needs two offline ticks; room for a busy machine
    auto sim = std::make_unique<test::SimProcess>(std::vector<std::string>{"--link", name});
    EXPECT_TRUE(QTest::qWaitFor([&main] { return main.MonitorModeAction->isEnabled(); }, Bound));

    sim.reset(); // unplugged
    EXPECT_TRUE(QTest::qWaitFor([&core] { return !core.Poll.Online; }, Bound));
    sim = std::make_unique<test::SimProcess>(std::vector<std::string>{"--link", name});
    EXPECT_TRUE(QTest::qWaitFor([&main] { return main.MonitorModeAction->isEnabled(); }, Bound));
    EXPECT_EQ(world.Messages.History().size(), 1u) << "the start-up message only";
}

} // namespace
} // namespace vg

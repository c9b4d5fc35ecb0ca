#include "config/FileTestSupport.h"
#include "gui/AboutBox.h"
#include "gui/Artwork.h"
#include "gui/BusyWindow.h"
#include "gui/CommunicationDialog.h"
#include "gui/FieldbusDriverChooser.h"
#include "gui/HelpViewer.h"
#include "gui/IdentifierWindow.h"
#include "gui/MainWindow.h"
#include "gui/NumberField.h"
#include "gui/PortDeviceBox.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "gui/StatusLamps.h"
#include "support/ChooserScript.h"
#include "support/GuiWorld.h"
#include "support/PtyPair.h"

#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace vg {
namespace {

TEST(MainWindowStart, FieldbusUnitOpensQuietlyWithTheFastTimer) {
    test::GuiWorld world;
    world.Start();
    MainWindow& main = *world.W().Main;
    EXPECT_TRUE(world.Messages.History().empty());
    EXPECT_EQ(main.PollTimer->interval(), 120);
    EXPECT_TRUE(main.PollTimer->isActive());
    EXPECT_FALSE(main.MonitorModeAction->isEnabled());
    EXPECT_FALSE(test::ChooserOffersUnit(*world.Context));
    EXPECT_EQ(world.Context->LiveStatus.Target(), main.StatusBar);
    // The receive thread object exists in fieldbus mode too, but never runs.
    EXPECT_TRUE(world.Core->Serial.ReceiverExists());
    EXPECT_FALSE(world.Core->Serial.ReceiverRunning());
    EXPECT_EQ(main.windowTitle(), "VG-Config [simulated unit]");
}

TEST(MainWindowStart, APortThatCannotOpenIsReportedWithItsCode) {
    struct Case {
        std::string Konfig;
        std::string Code;
        bool DeviceTried;
    };
    for (const Case& c :
         {Case{"M:2\r\nC:9\r\n", "C002", false}, Case{"M:2\r\nC:1\r\n", "C001", true}}) {
        test::GuiWorld world(c.Konfig);
        // COM1 leads nowhere on purpose.
        const std::string gone = (world.Dir / "no-such-device").string();
        std::filesystem::create_symlink(gone, world.Dir / "COM1");
        std::string text = "Init Communication failed! ErrorCode=" + c.Code +
                           "H\nPort is not available or occupied by another process.";
        if (c.DeviceTried) {
            text += "\nDevice " + gone + ": No such file or directory\nCOM1 leads through " +
                    world.Dir.ProgramDir() + "COM1 to " + gone +
                    ", which is not there: is the adapter plugged in?";
        }
        world.Messages.Expect(text);
        world.Start();
        EXPECT_EQ(world.W().Main->PollTimer->interval(), 700);
        EXPECT_EQ(world.Messages.History().at(0).Kind, MessageKind::Error);
        EXPECT_FALSE(world.Core->Serial.ReceiverRunning());
        // No unit has answered: the bar shows that, not the texts it was designed with.
        const StatusBarWidget& bar = *world.W().Main->StatusBar;
        EXPECT_EQ(bar.PanelText(StatusPanel::Scanning), "-----");
        EXPECT_EQ(bar.PanelText(StatusPanel::Angle), "-----");
        EXPECT_EQ(bar.PanelText(StatusPanel::Id), "Id: --------");
        // The serial line reaches no simulated unit: nothing says one.
        EXPECT_EQ(bar.ShownPanelText(StatusPanel::Error), "");
        EXPECT_EQ(world.W().Main->windowTitle(), "VG-Config");
    }
}

TEST(MainWindowStart, SmallScreensGetTheWindowInTheCorner) {
    const QSize frame(780, 580);
    EXPECT_EQ(MainWindowPosition(QRect(0, 0, 1024, 599), frame), QPoint(0, 0));
    EXPECT_EQ(MainWindowPosition(QRect(0, 0, 1024, 600), frame), QPoint(511 - 390, 299 - 290));
}

TEST(StatusBarScaling, PanelsScaleWithTheWindowWidth) {
    StatusLampState display;
    StatusBarWidget bar(display);
    bar.Scale(786 * 0.0015625);
    EXPECT_DOUBLE_EQ(bar.ScaleFactor(), 1.228125);
    EXPECT_EQ(bar.PanelWidth(0), 284); // 284.925 truncated
    EXPECT_EQ(bar.PanelWidth(1), 93);
    EXPECT_EQ(bar.PanelWidth(5), 22); // the online lamp's panel keeps its width
    EXPECT_EQ(bar.height(), 25);      // trunc(20 * 1.228125) + 1
}

TEST(StatusBarLamps, LampsAreDrawnInTheirColours) {
    StatusLampState display;
    StatusHeartbeat& poll = display.Heartbeat;
    StatusBarWidget bar(display);
    bar.resize(640, StatusBarWidget::DesignHeight);
    auto colourAt = [&bar](QPoint p) {
        return bar.grab().toImage().pixelColor(p);
    };
    EXPECT_EQ(colourAt(bar.OutputLampCentre(1)), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(colourAt(bar.OutputLampCentre(2)), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(colourAt(bar.OnlineLampCentre()), QColor(0xFF, 0, 0));
    display.Out1On = true;
    display.Out2On = true;
    poll.Online = true;
    poll.BeatsPerCycle = 2;
    poll.Beat = 1;
    EXPECT_EQ(colourAt(bar.OutputLampCentre(1)), QColor(0x80, 0xFF, 0x80));
    EXPECT_EQ(colourAt(bar.OutputLampCentre(2)), QColor(0xFF, 0, 0));
    EXPECT_EQ(colourAt(bar.OnlineLampCentre()), QColor(0x80, 0xFF, 0x80));
    poll.Beat = 0;
    EXPECT_EQ(colourAt(bar.OnlineLampCentre()), QColor(0xC0, 0xC0, 0xC0));
}

// The rows and columns of `area` in `image` that hold text (dark pixels).
QRect InkBounds(const QImage& image, const QRect& area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

TEST(StatusBarLamps, OutsLabelSharesTheTextLineAndStaysClearOfTheLamps) {
    // the manual-mode window's, the design's and a wider main window's scale
    for (const double scale : {632 * 0.0015625, 1.0, 786 * 0.0015625}) {
        StatusLampState display;
        StatusBarWidget bar(display);
        bar.Scale(scale);
        bar.resize(static_cast<int>(640 * scale), bar.height());
        bar.SetPanelText(StatusPanel::Id, "Id: --------");
        const QImage image = bar.grab().toImage();
        const int inner = bar.height() - 5;
        const int outsLeft = bar.PanelWidth(0) + 2;
        const int lampLeft = bar.OutputLampCentre(1).x() - StatusLampSize / 2;
        const QRect outs = InkBounds(image, QRect(outsLeft, 2, lampLeft - outsLeft, inner));
        int idLeft = 2;
        for (int panel = 0; panel < StatusPanel::Id; ++panel) {
            idLeft += bar.PanelWidth(panel);
        }
        const QRect id = InkBounds(image, QRect(idLeft, 2, bar.PanelWidth(4) - 4, inner));
        ASSERT_FALSE(outs.isEmpty());
        ASSERT_FALSE(id.isEmpty());
        // "O" and "I" both stand on the line and reach the capital height.
        EXPECT_NEAR(outs.top(), id.top(), 1) << "scale " << scale;
        EXPECT_NEAR(outs.bottom(), id.bottom(), 1) << "scale " << scale;
        EXPECT_LT(outs.right(), lampLeft - 2) << "scale " << scale;
    }
}

class CommunicationDialogTest : public ::testing::Test {
protected:
    CommunicationDialogTest() {
        World.Start();
        Built = std::make_unique<CommunicationDialog>(*World.Context);
        Dialog = Built.get();
        Dialog->show();
    }
    void ChooseSerialCom(int port) {
        Dialog->ModeItems->button(1)->click();
        Dialog->ComPortItems->button(port - 1)->click();
    }
    bool CfgExists() const { return std::filesystem::exists(World.Dir / "Konfig.Cfg"); }

    test::GuiWorld World;
    // As Options > Communication builds it.
    std::unique_ptr<CommunicationDialog> Built;
    CommunicationDialog* Dialog = nullptr;
};

TEST_F(CommunicationDialogTest, ShowsTheCurrentSettingsAndWhereEachPortLeads) {
    EXPECT_TRUE(Dialog->ModeItems->button(0)->isChecked());
    EXPECT_TRUE(Dialog->ComPortItems->button(0)->isChecked());
    EXPECT_EQ(Dialog->AddressField->text(), "50");
    EXPECT_TRUE(Dialog->PortDevices[1]->text().contains("/dev/ttyS1"));
}

TEST_F(CommunicationDialogTest, OkWithoutChangesTouchesNothing) {
    Dialog->CloseButton->click();
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_FALSE(CfgExists());
    EXPECT_TRUE(World.Core->BuiltInMaster.IsOpen());
    EXPECT_FALSE(World.Core->Poll.ReconnectRequest);
}

TEST_F(CommunicationDialogTest, CancelButtonLeavesSettingsLinkAndFile) {
    ChooseSerialCom(3);
    Dialog->CancelButton->click();
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_EQ(World.Core->Settings.Mode, CommMode::Fieldbus);
    EXPECT_FALSE(CfgExists());
    EXPECT_TRUE(World.Core->BuiltInMaster.IsOpen());
}

TEST_F(CommunicationDialogTest, EscapeIsCancel) {
    ChooseSerialCom(3);
    QTest::keyClick(Dialog, Qt::Key_Escape);
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_EQ(World.Core->Settings.Mode, CommMode::Fieldbus);
    EXPECT_EQ(World.Core->Settings.ComPortNr, 1);
    EXPECT_FALSE(CfgExists());
    EXPECT_TRUE(World.Core->BuiltInMaster.IsOpen());
    EXPECT_FALSE(World.Core->Poll.ReconnectRequest);
}

TEST_F(CommunicationDialogTest, TabGoesDownTheLeftColumnThenRightAndStopsOnChosenItems) {
    Dialog->ComPortItems->button(2)->click();
    Dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Dialog));
    Dialog->ModeItems->button(0)->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> order;
    for (int i = 0; i < 6; ++i) {
        order.push_back(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The simulated unit's button is off while it is the one in use.
    // The device list is off: it serves the serial mode only.
    const std::vector<QWidget*> expected = {
        Dialog->ModeItems->button(0), Dialog->DriverChooser->ChooseDriverButton,
        Dialog->AddressField,         Dialog->ComPortItems->button(2),
        Dialog->CloseButton,          Dialog->CancelButton};
    EXPECT_EQ(order, expected);
    Dialog->CancelButton->click();
}

// Only what the chosen mode uses can be changed; the COM items serve both (the driver is told
// the COM number).
TEST_F(CommunicationDialogTest, WhatTheChosenModeDoesNotUseIsOff) {
    const auto enabled = [this] {
        return std::vector<bool>{Dialog->DriverChooser->ChooseDriverButton->isEnabled(),
                                 Dialog->AddressField->isEnabled(),
                                 Dialog->ComPortItems->button(2)->isEnabled(),
                                 Dialog->DeviceBox->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, false}));
    ChooseSerialCom(3);
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));
    Dialog->ModeItems->button(0)->click();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, false}));
    Dialog->CancelButton->click();
}

// Settings read from a file the dialog's controls cannot show (a port above 6, an address
// above 127) stay as they are unless the user chooses others.
TEST(CommunicationDialogValues, ValuesTheControlsCannotShowAreKeptUnlessChanged) {
    test::GuiWorld world("A:200\r\nC:9\r\nM:1\r\n");
    world.Start();
    CommunicationDialog dialog(*world.Context);
    const auto cfg = world.Dir / "Konfig.Cfg";
    dialog.show();
    EXPECT_EQ(dialog.ComPortItems->checkedId(), -1);
    dialog.CloseButton->click();
    EXPECT_EQ(world.Core->Settings.ComPortNr, 9);
    EXPECT_EQ(world.Core->Settings.DevAddr, 200);
    EXPECT_FALSE(world.Core->Poll.ReconnectRequest);
    EXPECT_EQ(test::ReadBytes(cfg), "A:200\r\nC:9\r\nM:1\r\n");

    dialog.show();
    dialog.ComPortItems->button(1)->click();
    dialog.CloseButton->click();
    EXPECT_EQ(test::ReadBytes(cfg), "A:200\r\nC:2\r\nM:1\r\n");
}

TEST_F(CommunicationDialogTest, CloseBoxAfterAChangeAppliesItLikeOk) {
    ChooseSerialCom(3);
    Dialog->close();
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_EQ(World.Core->Settings.Mode, CommMode::Serial);
    EXPECT_EQ(World.Core->Settings.ComPortNr, 3);
    // The fieldbus link is closed; the poll reopens the link in the new mode.
    EXPECT_FALSE(World.Core->BuiltInMaster.IsOpen());
    EXPECT_TRUE(World.Core->Poll.ReconnectRequest);
    EXPECT_EQ(test::ReadBytes(World.Dir / "Konfig.Cfg"), "A:50\r\nC:3\r\nM:2\r\n");
}

TEST_F(CommunicationDialogTest, AddressMinusOneIsStoredAs65535) {
    Dialog->AddressField->setFocus();
    Dialog->AddressField->selectAll();
    QTest::keyClicks(Dialog->AddressField, "-1");
    Dialog->CloseButton->setFocus(); // leaving the field
    Dialog->CloseButton->click();
    EXPECT_EQ(World.Core->Settings.DevAddr, 65535);
    EXPECT_EQ(test::ReadBytes(World.Dir / "Konfig.Cfg"), "A:65535\r\nC:1\r\nM:1\r\n");
}

// The devices present are offered for the chosen COM item; choosing one makes COMn a link
// to its stable name. Konfig.Cfg changes only with the settings.
TEST(CommunicationDialogDevice, ChoosingADeviceLinksTheComPortToItsStableName) {
    test::GuiWorld world("M:2\r\nC:1\r\n");
    test::PtyPair adapter, before;
    for (const char* folder : {"dev", "by-id", "by-path", "sys"}) {
        std::filesystem::create_directories(world.Dir / folder);
    }
    const std::string byId = (world.Dir / "by-id" / "usb-Maker_Adapter_A1B2-if00-port0").string();
    std::filesystem::create_symlink(adapter.SlavePath(), byId);
    std::filesystem::create_symlink(before.SlavePath(), world.Dir / "COM1");
    world.Start();
    world.W().Main->PollTimer->stop();
    ASSERT_TRUE(world.Core->Poll.LinkOpened);
    CommunicationDialog dialog(*world.Context);
    PortDeviceBox& box = *dialog.DeviceBox;
    const std::string dir = world.Dir.ProgramDir();
    box.Places = {dir + "dev/", dir + "by-id/", dir + "by-path/", dir + "sys/"};
    dialog.show();
    // Where COM1 leads now, the adapter, and the terminal COM1 leads to.
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(0).toStdString(), "as it is: " + before.SlavePath());
    box.setCurrentIndex(box.findData(QString::fromStdString(byId)));
    dialog.CloseButton->click();
    EXPECT_EQ(std::filesystem::read_symlink(world.Dir / "COM1"), byId);
    EXPECT_TRUE(world.Core->Poll.ReconnectRequest) << "the port in use leads elsewhere now";
    EXPECT_EQ(test::ReadBytes(world.Dir / "Konfig.Cfg"), "M:2\r\nC:1\r\n");

    // COM3 leads nowhere: keeping it is not offered as if it led somewhere.
    dialog.show();
    dialog.ComPortItems->button(2)->click();
    EXPECT_EQ(box.itemText(0).toStdString(), "not present: " + dir + "dev/ttyS2");
    dialog.CancelButton->click();

    // A file of the user's named COM2 is replaced only when the user agrees.
    std::ofstream(world.Dir / "COM2") << "mine";
    dialog.show();
    dialog.ComPortItems->button(1)->click();
    box.setCurrentIndex(box.findData(QString::fromStdString(byId)));
    world.Messages.Expect("COM2 in " + dir +
                              " is not a link but a file of its own.\n"
                              "Replace it with a link to " +
                              byId + "?",
                          MessageResult::No);
    dialog.CloseButton->click();
    EXPECT_EQ(test::ReadBytes(world.Dir / "COM2"), "mine");
    EXPECT_EQ(test::ReadBytes(world.Dir / "Konfig.Cfg"), "A:50\r\nC:2\r\nM:2\r\n");
}

// The change takes effect on the next tick; a port that does not open then is told once,
// with its reason, and the ticks after it try again without a word.
TEST(CommunicationDialogChange, APortThatDoesNotOpenIsToldOnceWithItsReason) {
    test::GuiWorld world;
    const std::string gone = (world.Dir / "gone").string();
    std::filesystem::create_symlink(gone, world.Dir / "COM2");
    world.Start();
    world.W().Main->PollTimer->stop();
    CommunicationDialog dialog(*world.Context);
    dialog.show();
    dialog.ModeItems->button(1)->click();
    dialog.ComPortItems->button(1)->click();
    dialog.CloseButton->click();
    world.Messages.Expect("Init Communication failed! ErrorCode=C001H\nPort is not available or "
                          "occupied by another process.\nDevice " +
                          gone + ": No such file or directory\nCOM2 leads through " +
                          world.Dir.ProgramDir() + "COM2 to " + gone +
                          ", which is not there: is the adapter plugged in?");
    for (int tick = 0; tick < 4; ++tick) {
        world.Core->Status.Tick();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(world.Messages.History().size(), 1u);
    EXPECT_EQ(world.Messages.History().at(0).Kind, MessageKind::Error);
}

TEST(InstalledProgram, KeepsSettingsAndConfigurationsInTheUsersFolders) {
    test::GuiWorld world{test::GuiWorld::Installed{}};
    const ProgramFolders& folders = world.Core->Folders;
    std::filesystem::create_directories(folders.Shared);
    std::ofstream(folders.Shared + "ROVOZUZ_E.html") << "<a name=\"contents\"></a>";
    world.Start();
    EXPECT_EQ(world.Help.HelpFile().toStdString(), folders.Shared + "ROVOZUZ_E.html");

    CommunicationDialog konfig(*world.Context);
    konfig.show();
    konfig.ModeItems->button(1)->click();
    konfig.CloseButton->click();
    EXPECT_EQ(test::ReadBytes(folders.Settings + "Konfig.Cfg"), "A:50\r\nC:1\r\nM:2\r\n");

    // The file dialogs start in the user's CD_DATA, made for them.
    world.Files.Answer(std::nullopt);
    test::ClickInChooser(&SourceChooser::FileButton);
    EXPECT_FALSE(SelectAndLoad(*world.Context));
    ASSERT_EQ(world.Files.Calls().size(), 1u);
    EXPECT_EQ(world.Files.Calls()[0].Directory.toStdString(), folders.Data + "CD_DATA");
    EXPECT_TRUE(std::filesystem::is_directory(folders.Data + "CD_DATA"));
}

TEST(InstalledProgram, SettingsThatCannotBeSavedAreToldWithThePathAndTheReason) {
    test::GuiWorld world{test::GuiWorld::Installed{}};
    // A file stands where the user's folder should be made.
    std::ofstream(world.Dir / "config") << "";
    world.Start();
    const std::string folder = world.Core->Folders.Settings;
    world.Messages.Expect(std::string(SettingsNotSavedText) + "\n" + folder + ": Not a directory");
    CommunicationDialog konfig(*world.Context);
    konfig.show();
    konfig.ModeItems->button(1)->click();
    konfig.CloseButton->click();
    EXPECT_EQ(world.Core->Settings.Mode, CommMode::Serial) << "the change holds for this run";
}

TEST(ProgramIcon, IsTheIconFileDrawnAtTheSizeAsked) {
    const QImage icon = ProgramIconPixmap(48).toImage();
    ASSERT_EQ(icon.size(), QSize(48, 48));
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0) << "rounded corners";
    EXPECT_EQ(icon.pixelColor(14, 37), QColor(0xFF, 0x40, 0x20)) << "the scanner's pivot";
    EXPECT_FALSE(ProgramIcon().isNull());
}

class IdentifierWindowTest : public ::testing::Test {
protected:
    IdentifierWindowTest() {
        World.Start();
        Built = std::make_unique<IdentifierWindow>(World.Messages, World.Help);
        Window = Built.get();
        Info.CU_Id = {'1', '1', '1', '1', '1', '1', '1', '1'};
        Info.Stamp = {2004, 8, 24, 17, 15, 16};
    }
    // Opens the window modally; `script` runs inside it.
    void Ask(std::function<void()> script) {
        test::WhenModalOpens([script](QWidget*) { script(); });
        Window->AskForIdentifier(Info, Valid);
    }
    void Type(const QString& digits) { QTest::keyClicks(Window->IdentifierField, digits); }

    test::GuiWorld World;
    // As a transfer builds it.
    std::unique_ptr<IdentifierWindow> Built;
    IdentifierWindow* Window = nullptr;
    NamespaceInfo Info{};
    bool Valid = true;
};

// A title bar as wide as the window shows the whole caption in the bold font of title bars,
// whatever the font size, also when the font changes while the program runs.
TEST(IdentifierWindowCaption, FitsTheTitleBarAtEveryFontSize) {
    const QFont original = QApplication::font();
    const auto fits = [](IdentifierWindow& window) {
        QStyleOptionTitleBar bar;
        bar.initFrom(&window);
        bar.text = window.windowTitle();
        bar.titleBarFlags = window.windowFlags();
        bar.subControls = QStyle::SC_All;
        bar.rect = QRect(0, 0, window.width(),
                         window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, &window));
        const QRect label = window.style()->subControlRect(QStyle::CC_TitleBar, &bar,
                                                           QStyle::SC_TitleBarLabel, &window);
        QFont bold = window.font();
        bold.setBold(true);
        return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) <= label.width();
    };
    for (const int pixels : {13, 26, 40}) {
        QFont font = original;
        font.setPixelSize(pixels);
        QApplication::setFont(font);
        test::GuiWorld world;
        world.Start();
        IdentifierWindow identifier(world.Messages, world.Help);
        EXPECT_TRUE(fits(identifier)) << pixels << " px";
        font.setPixelSize(pixels * 2);
        QApplication::setFont(font);
        EXPECT_TRUE(fits(identifier)) << pixels * 2 << " px, changed while running";
    }
    QApplication::setFont(original);
}

TEST_F(IdentifierWindowTest, EightDigitsAreTakenAndTheStampKept) {
    Ask([this] {
        Type("00001234");
        Window->OkButton->click();
    });
    EXPECT_TRUE(Valid);
    EXPECT_EQ(std::string(Info.CU_Id.begin(), Info.CU_Id.end()), "00001234");
    EXPECT_EQ(Info.Stamp[0], 2004);
}

TEST_F(IdentifierWindowTest, SevenDigitsAndOkKeepTheWindowOpenUntilTheCloseBox) {
    World.Messages.Expect("Please enter 8 numeric digits (0..9)!");
    Ask([this] {
        Type("1234567");
        Window->OkButton->click();
        EXPECT_TRUE(Window->isVisible());
        Window->close(); // after a rejected OK: closes without another check
    });
    EXPECT_FALSE(Window->isVisible());
    EXPECT_FALSE(Valid);
    EXPECT_EQ(std::string(Info.CU_Id.begin(), Info.CU_Id.end()), "11111111");
}

TEST_F(IdentifierWindowTest, SevenDigitsAndTheCloseBoxAtOnceAreCheckedToo) {
    World.Messages.Expect("Please enter 8 numeric digits (0..9)!");
    Ask([this] {
        Type("1234567");
        Window->close();
        EXPECT_TRUE(Window->isVisible());
        Type("8");
        Window->OkButton->click();
    });
    EXPECT_TRUE(Valid);
    EXPECT_EQ(std::string(Info.CU_Id.begin(), Info.CU_Id.end()), "12345678");
}

TEST_F(IdentifierWindowTest, F1OpensItsTopic) {
    Ask([this] {
        QApplication::setActiveWindow(Window);
        QTest::keyClick(Window, Qt::Key_F1);
        EXPECT_EQ(World.Help.ShownTopic(), HelpContext::Identifier);
        World.Help.close();
        Type("12345678");
        Window->OkButton->click();
    });
}

TEST_F(IdentifierWindowTest, EachShowingStartsEmpty) {
    Ask([this] {
        Type("12345678");
        Window->OkButton->click();
    });
    Ask([this] {
        EXPECT_EQ(Window->IdentifierField->text().trimmed(), "");
        Type("87654321");
        Window->OkButton->click();
    });
    EXPECT_EQ(std::string(Info.CU_Id.begin(), Info.CU_Id.end()), "87654321");
}

class ChooserTest : public ::testing::Test {
protected:
    ChooserTest() {
        World.Start();
        // No poll: the unit never answers, however slowly a test runs.
        World.W().Main->PollTimer->stop();
    }

    bool LoadThroughFileButton() {
        test::WhenChooserOpens([this](SourceChooser& chooser) {
            Title = chooser.windowTitle();
            chooser.FileButton->click();
        });
        return SelectAndLoad(*World.Context);
    }
    QString DataPath(const std::string& name) const {
        return QString::fromStdString((World.Dir / "CD_DATA" / name).string());
    }

    test::GuiWorld World;
    QString Title; // of the last chooser opened
};

TEST_F(ChooserTest, ARefusedNameAndThenCancelLoadsNothing) {
    World.Files.Answer(DataPath("VGL_1234567.CD"));
    World.Files.Answer(std::nullopt);
    World.Messages.Expect("Please enter filename in the following format: \"VGL_iiiiiiii\"");
    EXPECT_FALSE(LoadThroughFileButton());
    EXPECT_EQ(World.Core->Config.ConfigSource, ConfigSource::None);
    EXPECT_FALSE(World.Core->Config.NamespaceIdValid);
    ASSERT_EQ(World.Files.Calls().size(), 2u);
    EXPECT_EQ(World.Files.Calls()[0].Directory.toStdString(), World.Dir.ProgramDir() + "CD_DATA");
    EXPECT_TRUE(World.Files.Calls()[1].FileName.isEmpty()); // the name field is cleared
}

TEST_F(ChooserTest, ALowerCaseNameOfANewFileStartsAnEmptyConfiguration) {
    World.Files.Answer(DataPath("vgl_00001234.cd"));
    EXPECT_TRUE(LoadThroughFileButton());
    const ConfigState& config = World.Core->Config;
    EXPECT_EQ(config.ConfigSource, ConfigSource::File);
    EXPECT_TRUE(config.NamespaceIdValid);
    EXPECT_EQ(std::string(config.NamespaceInfo.CU_Id.begin(), config.NamespaceInfo.CU_Id.end()),
              "00001234");
    EXPECT_TRUE(config.ToolLines.empty());
    EXPECT_EQ(Title, "Load Data from ...");
}

TEST_F(ChooserTest, CancellingTheFileDialogChoosesNothing) {
    World.Core->Config.NamespaceIdValid = true;
    World.Files.Answer(std::nullopt);
    EXPECT_FALSE(LoadThroughFileButton());
    EXPECT_FALSE(World.Core->Config.NamespaceIdValid);
}

TEST_F(ChooserTest, CancelAndTheCloseBoxLoadNothing) {
    test::ClickInChooser(&SourceChooser::CancelButton);
    EXPECT_FALSE(SelectAndLoad(*World.Context));
    test::WhenChooserOpens([](SourceChooser& chooser) { chooser.close(); });
    EXPECT_FALSE(SelectAndLoad(*World.Context));
    EXPECT_FALSE(test::ChooserOffersUnit(*World.Context));
}

TEST_F(ChooserTest, AnOpenChooserOffersTheUnitOnceItAnswers) {
    bool before = true;
    bool after = false;
    test::WhenChooserOpens([&](SourceChooser& chooser) {
        before = chooser.UnitButton->isEnabled();
        World.Core->Status.Tick(); // the built-in unit answers its first poll
        after = chooser.UnitButton->isEnabled();
        chooser.CancelButton->click();
    });
    EXPECT_EQ(ChooseSource(*World.Context, ChooserPurpose::Load).Source, ConfigSource::None);
    EXPECT_FALSE(before);
    EXPECT_TRUE(after);
}

TEST_F(ChooserTest, SaveModeProposesTheUnitsDefaultFileName) {
    ConfigState& config = World.Core->Config;
    config.ConfigSource = ConfigSource::Unit;
    config.NamespaceIdValid = true;
    config.NamespaceInfo.CU_Id = {'8', '7', '6', '5', '4', '3', '2', '1'};
    World.Files.Answer(DataPath("VGL_87654321.CD"));
    test::WhenChooserOpens([this](SourceChooser& chooser) {
        Title = chooser.windowTitle();
        chooser.FileButton->click();
    });
    const SourceChoice choice = ChooseSource(*World.Context, ChooserPurpose::Save);
    ASSERT_EQ(World.Files.Calls().size(), 1u);
    EXPECT_TRUE(World.Files.Calls()[0].Save);
    EXPECT_EQ(World.Files.Calls()[0].FileName.toStdString(),
              World.Dir.ProgramDir() + "CD_DATA/VGL_87654321.CD");
    EXPECT_TRUE(choice.Source != ConfigSource::None); // confirmed
    EXPECT_EQ(choice.Source, ConfigSource::File);
    EXPECT_EQ(Title, "Save Data to ...");
}

TEST_F(ChooserTest, SaveModeShowsARefusedNameAgain) {
    World.Files.Answer(DataPath("VGL_12345678_old.CD"));
    World.Files.Answer(std::nullopt);
    World.Messages.Expect("Please enter filename in the following format: \"VGL_iiiiiiii\"");
    test::ClickInChooser(&SourceChooser::FileButton);
    const SourceChoice choice = ChooseSource(*World.Context, ChooserPurpose::Save);
    ASSERT_EQ(World.Files.Calls().size(), 2u);
    EXPECT_EQ(World.Files.Calls()[1].FileName, DataPath("VGL_12345678_old.CD"));
    EXPECT_FALSE(choice.Source != ConfigSource::None); // not confirmed
}

TEST(SmallBoxes, EnterClosesTheAboutBox) {
    test::GuiWorld world;
    world.Start();
    AboutBox about;
    test::WhenModalOpens([&about](QWidget*) { QTest::keyClick(&about, Qt::Key_Return); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_EQ(about.VersionLabel->text(), "1.06.01");
    EXPECT_TRUE(about.FurtherLabel->text().contains("simulated unit"));
}

TEST(SmallBoxes, BusyBoxShowsEachJobsTextsAndGoesAway) {
    test::GuiWorld world;
    world.Start();
    BusyWindow busy;
    for (int job = 0; job < 2; ++job) {
        busy.ShowBusyBox("Status: Busy ....", "Printing Data!  Please wait ....!");
        EXPECT_TRUE(busy.isVisible());
        EXPECT_EQ(busy.windowTitle(), "Status: Busy ....");
        EXPECT_EQ(busy.MessageLabel->text(), "Printing Data!  Please wait ....!");
        busy.close(); // the user cannot close it
        EXPECT_TRUE(busy.isVisible());
        busy.HideBusyBox();
        EXPECT_FALSE(busy.isVisible());
    }
}

} // namespace
} // namespace vg

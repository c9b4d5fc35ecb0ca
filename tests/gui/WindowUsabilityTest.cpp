// What every window owes a user at the keyboard, with assistive technology or with another
// font: checked over all the windows that have the thing in question.

#include "gui/AboutBox.h"
#include "gui/BusyWindow.h"
#include "gui/CommunicationDialog.h"
#include "gui/IdentifierWindow.h"
#include "gui/MainWindow.h"
#include "gui/ManualWindow.h"
#include "gui/MonitorWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "gui/ToolEditor.h"
#include "gui/ToolTable.h"
#include "support/SettingsWorld.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vg {
namespace {

void ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// Where the text of `row` has ink, as runs of columns (in `list`'s window) separated by at
// least one blank character.
std::vector<int> InkRunStarts(QListWidget& list, int row) {
    const QRect rect = list.visualItemRect(list.item(row));
    const QImage image = list.viewport()->grab(rect).toImage();
    const int blank = list.fontMetrics().horizontalAdvance(QLatin1Char(' '));
    std::vector<int> starts;
    int lastInk = -blank - 1;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y) {
            ink = qGray(image.pixel(x, y)) < 128;
        }
        if (!ink) {
            continue;
        }
        if (x - lastInk > blank) {
            starts.push_back(list.viewport()->mapTo(list.window(), rect.topLeft()).x() + x);
        }
        lastInk = x;
    }
    return starts;
}

// Each column's text starts under its own heading in the settings, manual-mode and monitor
// windows, whatever font the program gets.
TEST(ToolTableHeadings, EachColumnStartsUnderItsHeading) {
    const QFont original = QApplication::font();
    for (const int pixels : {10, 13, 20}) {
        QFont font = original;
        font.setPixelSize(pixels);
        QApplication::setFont(font);
        test::SettingsWorld world;
        world.Start();
        world.SetUnitSettings();
        // every field as wide as its column gets: " 100   123.45  25.50    3    W"
        world.SetTool(100, 12345, 2550, 3, "W");
        world.SetTool(101, 1000, 20, 0);
        world.Loaded(ConfigSource::File, world.DataFile("VGL_12345678.CD"));
        ShowActive(&world.Settings());
        world.Settings().PageTabs->setCurrentIndex(SettingsWindow::ToolPage);
        ProgramWindows& w = world.W();
        ShowActive(w.Manual);
        ShowActive(w.Monitor);
        const std::vector<std::pair<QWidget*, QListWidget*>> tables = {
            {w.Settings, w.Settings->ToolList},
            {w.Manual, w.Manual->ToolList},
            {w.Monitor, w.Monitor->ToolList}};
        for (const auto& [window, list] : tables) {
            list->setCurrentRow(1); // the measured line unselected
            const std::vector<int> columns = InkRunStarts(*list, 0);
            ASSERT_EQ(columns.size(), 5u) << pixels << " px";
            const QStringList texts = ToolHeadingTexts();
            for (int i = 0; i < texts.size(); ++i) {
                const QLabel* heading = nullptr;
                for (const QLabel* label : window->findChildren<QLabel*>()) {
                    if (label->text() == texts[i] && label->isVisible()) {
                        heading = label;
                    }
                }
                ASSERT_NE(heading, nullptr) << texts[i].toStdString();
                const int left = heading->mapTo(window, QPoint(0, 0)).x();
                const int column = columns[static_cast<size_t>(i)];
                EXPECT_GE(column, left) << texts[i].toStdString() << ", " << pixels << " px, "
                                        << window->windowTitle().toStdString();
                EXPECT_LT(column, left + heading->width())
                    << texts[i].toStdString() << ", " << pixels << " px, "
                    << window->windowTitle().toStdString();
            }
        }
        for (const auto& table : tables) {
            table.first->hide();
        }
    }
    QApplication::setFont(original);
}

// A long name in a large font makes the list scroll sideways: the headings go along with the
// rows.
TEST(ToolTableHeadings, ScrollWithTheRows) {
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPixelSize(20);
    QApplication::setFont(large);
    test::SettingsWorld world;
    world.Start();
    world.SetUnitSettings();
    world.SetTool(1, 12345, 250, 3, std::string(30, 'W'));
    world.Loaded(ConfigSource::File, world.DataFile("VGL_12345678.CD"));
    ShowActive(&world.Settings());
    world.Settings().PageTabs->setCurrentIndex(SettingsWindow::ToolPage);
    ProgramWindows& w = world.W();
    ShowActive(w.Manual);
    const std::vector<std::pair<QListWidget*, ToolHeadings*>> tables = {
        {w.Settings->ToolList, w.Settings->findChild<ToolHeadings*>()},
        {w.Manual->ToolList, w.Manual->findChild<ToolHeadings*>()}};
    for (const auto& [list, headings] : tables) {
        ASSERT_NE(headings, nullptr);
        const QString where = list->window()->windowTitle();
        QScrollBar* bar = list->horizontalScrollBar();
        QApplication::processEvents(); // the list lays its rows out late
        ASSERT_GT(bar->maximum(), 0) << where.toStdString() << ": the list does not scroll";
        const auto rowLeft = [&] {
            return list->visualItemRect(list->item(0)).left();
        };
        std::vector<int> before;
        for (const QLabel* label : headings->Labels) {
            before.push_back(label->x());
        }
        const int rowBefore = rowLeft();
        bar->setValue(bar->maximum());
        const int moved = rowLeft() - rowBefore;
        ASSERT_LT(moved, 0);
        for (size_t i = 0; i < headings->Labels.size(); ++i) {
            EXPECT_EQ(headings->Labels[i]->x() - before[i], moved)
                << where.toStdString() << ", heading " << i;
        }
        bar->setValue(0);
        EXPECT_EQ(headings->Labels[1]->x(), before[1]) << where.toStdString();
    }
    w.Manual->hide();
    world.Settings().hide();
    QApplication::setFont(original);
}

// Enter on a focused push button presses it, as Space does; Enter in a field of the settings
// window still presses nothing.
TEST(WindowKeyboard, EnterPressesTheFocusedButton) {
    test::SettingsWorld world;
    world.Start();
    world.SetUnitSettings();
    world.SetTool(1, 9000, 200, 3);
    world.SetTool(2, 9000, 200, 3);
    world.Loaded(ConfigSource::File, world.DataFile("VGL_12345678.CD"));
    ProgramWindows& w = world.W();
    SourceChooser chooser(ChooserInputs{}, world.Context->Messages, world.Context->Files);
    struct Case {
        QWidget* Window;
        QPushButton* Button;
    };
    for (const Case& c :
         {Case{&chooser, chooser.CancelButton}, Case{w.Settings, w.Settings->DeleteButton},
          Case{w.Manual, w.Manual->GoBackButton}, Case{w.Monitor, w.Monitor->CloseButton}}) {
        ShowActive(c.Window);
        c.Button->setFocus(Qt::TabFocusReason);
        QSignalSpy pressed(c.Button, &QPushButton::clicked);
        QTest::keyClick(c.Button, Qt::Key_Return);
        EXPECT_EQ(pressed.count(), 1) << c.Window->windowTitle().toStdString();
        c.Window->hide();
    }

    SettingsWindow& settings = *w.Settings;
    ShowActive(&settings);
    settings.PageTabs->setCurrentIndex(SettingsWindow::DefaultPage);
    settings.DefaultAngleField->setFocus(Qt::TabFocusReason);
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton* button : settings.findChildren<QPushButton*>()) {
        spies.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    }
    QTest::keyClick(settings.DefaultAngleField, Qt::Key_Return);
    for (const auto& spy : spies) {
        EXPECT_EQ(spy->count(), 0);
    }
    EXPECT_TRUE(settings.isVisible());
    settings.hide();
}

bool IsInput(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractItemView*>(widget) != nullptr;
}

// Part of another input (the list of a drop-down, the text of an editable one).
bool InsideAnInput(const QWidget* widget, const QWidget* window) {
    for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window;
         up = up->parentWidget()) {
        if (IsInput(up)) {
            return true;
        }
    }
    return false;
}

TEST(WindowAccessibility, EveryInputHasItsLabelOrAName) {
    test::GuiWorld world;
    world.Start();
    ProgramWindows& w = world.W();
    SourceChooser chooser(ChooserInputs{}, world.Context->Messages, world.Context->Files);
    // The windows built for each use, as their openers build them.
    ToolEditor editor(*world.Context, w.Settings->ToolEdit);
    AboutBox about;
    CommunicationDialog communication(*world.Context);
    IdentifierWindow identifier(world.Messages, world.Help);
    ProgressWindow progress;
    BusyWindow busy;
    const std::vector<QWidget*> windows = {w.Main,    w.Settings, &chooser,       &editor,
                                           &about,    w.Manual,   &communication, &identifier,
                                           &progress, &busy,      w.Monitor};
    for (QWidget* window : windows) {
        for (QWidget* input : window->findChildren<QWidget*>()) {
            if (!IsInput(input) || InsideAnInput(input, window)) {
                continue;
            }
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(input);
            ASSERT_NE(access, nullptr);
            const bool labelled = !access->relations(QAccessible::Label).isEmpty();
            EXPECT_TRUE(labelled || !input->accessibleName().isEmpty())
                << window->windowTitle().toStdString() << ": a " << input->metaObject()->className()
                << " named \"" << input->objectName().toStdString() << "\"";
        }
    }
}

// The drawn status bar tells assistive technology what it shows: each panel's text, and
// whether each lamp is on.
TEST(WindowAccessibility, StatusBarPanelsAndLampsAreReadable) {
    StatusLampState display;
    StatusHeartbeat& poll = display.Heartbeat;
    StatusBarWidget bar(display);
    bar.SetPanelText(StatusPanel::Error, "ERROR! Wand!");
    bar.SetPanelText(StatusPanel::Angle, " MeasA.:  90.00");
    display.Out1On = true;
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&bar);
    ASSERT_NE(access, nullptr);
    ASSERT_EQ(access->childCount(), StatusPanel::Count);
    auto panel = [access](int i) {
        return access->child(i)->text(QAccessible::Name).toStdString();
    };
    EXPECT_EQ(panel(StatusPanel::Error), "ERROR! Wand!");
    EXPECT_EQ(panel(StatusPanel::Angle), "MeasA.:  90.00");
    EXPECT_EQ(panel(StatusPanel::Outputs), "Outs: Out1 on, Out2 off");
    EXPECT_EQ(panel(StatusPanel::Online), "Offline");
    poll.Online = true;
    display.Out1On = false;
    display.Out2On = true;
    EXPECT_EQ(panel(StatusPanel::Outputs), "Outs: Out1 off, Out2 on");
    EXPECT_EQ(panel(StatusPanel::Online), "Online");
    EXPECT_EQ(access->child(StatusPanel::Angle)->parent(), access);
}

} // namespace
} // namespace vg

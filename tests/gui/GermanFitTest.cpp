// Every window in German: German texts run about a third longer than the English ones the
// windows were laid out for. No label, button, group or tab title, column heading, menu bar
// entry, status panel or window title may be cut, at the font the program gets and, as ctest
// runs this binary a second time with QT_SCALE_FACTOR=2, at double scale.

#include "common/ProgramFolders.h"
#include "config/model/ValueRanges.h"
#include "config/transfer/ConfigCompare.h"
#include "gui/AboutBox.h"
#include "gui/BusyWindow.h"
#include "gui/CommunicationDialog.h"
#include "gui/CoreTexts.h"
#include "gui/DifferencesWindow.h"
#include "gui/IdentifierWindow.h"
#include "gui/Language.h"
#include "gui/MainWindow.h"
#include "gui/ManualWindow.h"
#include "gui/MonitorWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
#include "gui/ToolEditor.h"
#include "link/SerialOpenFailure.h"
#include "status/UnitStatus.h"
#include "support/SettingsWorld.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <cctype>
#include <cerrno>
#include <gtest/gtest.h>
#include <set>

namespace vg {
namespace {

// The windows speak German from the first window on, as at a start under de_DE.
class GermanWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static const QString installed = InstallWindowLanguage(
            QStringLiteral("de"), TranslationsFolder(PortableFolders(ExecutableDirectory())));
        ASSERT_EQ(installed.toStdString(), "de");
    }
};

// What a text needs and gets, for the report of one that is cut.
struct Cut {
    QString Where;
    QString Text;
    int Needs = 0;
    int Has = 0;
};

std::ostream& operator<<(std::ostream& out, const Cut& cut) {
    return out << cut.Where.toStdString() << " \"" << cut.Text.toStdString() << "\" needs "
               << cut.Needs << " px, has " << cut.Has;
}

QString Name(const QWidget* widget) {
    return QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
           widget->objectName();
}

int MnemonicWidth(const QFontMetrics& metrics, const QString& text) {
    return metrics.size(Qt::TextShowMnemonic, text).width();
}

// Walks the visible widgets of one window and keeps every text that does not fit.
class FitCheck {
public:
    std::vector<Cut> Cuts;
    int Checked = 0;

    void Window(QWidget* window) {
        Title(window);
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window) || widget->width() <= 0) {
                continue;
            }
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                Label(label);
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                Push(button);
            } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
                Indicator(radio, QStyle::SE_RadioButtonContents);
            } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
                Indicator(check, QStyle::SE_CheckBoxContents);
            } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
                Group(box);
            } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
                Tabs(tabs);
            } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                Combo(combo);
            } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
                Menus(bar);
            }
        }
    }

    void Need(const QString& where, const QString& text, int needs, int has) {
        ++Checked;
        if (needs > has) {
            Cuts.push_back({where, text, needs, has});
        }
    }

private:
    // A window manager gives the caption the width of the window less its icon and buttons:
    // room for four of them at the caption's height is kept, for two where the window asks
    // for no buttons (the notices).
    void Title(QWidget* window) {
        QFont bold = window->font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        const Qt::WindowFlags flags = window->windowFlags();
        const bool buttons = !flags.testFlag(Qt::CustomizeWindowHint) ||
                             (flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                       Qt::WindowMinMaxButtonsHint)) != 0;
        Need(QStringLiteral("title of ") + Name(window), window->windowTitle(),
             metrics.horizontalAdvance(window->windowTitle()) +
                 (buttons ? 4 : 2) * metrics.height(),
             window->width());
    }

    void Label(QLabel* label) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText) {
            return;
        }
        if (label->wordWrap()) {
            Need(Name(label) + QStringLiteral(" (height)"), label->text(),
                 label->heightForWidth(label->width()), label->height());
            return;
        }
        Need(Name(label), label->text(), label->sizeHint().width(), label->width());
    }

    void Push(QPushButton* button) {
        if (button->text().isEmpty()) {
            return;
        }
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        Need(Name(button), button->text(), MnemonicWidth(button->fontMetrics(), button->text()),
             contents.width());
    }

    void Indicator(QAbstractButton* button, QStyle::SubElement element) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents = button->style()->subElementRect(element, &option, button);
        Need(Name(button), button->text(), MnemonicWidth(button->fontMetrics(), button->text()),
             contents.width());
    }

    // The title is drawn from the box's left indent; the box must reach past its end.
    void Group(QGroupBox* box) {
        if (box->title().isEmpty()) {
            return;
        }
        const QFontMetrics metrics = box->fontMetrics();
        Need(Name(box), box->title(),
             MnemonicWidth(metrics, box->title()) + 2 * metrics.horizontalAdvance(QLatin1Char(' ')),
             box->width());
    }

    void Tabs(QTabBar* bar) {
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            // the style keeps this much of a tab's width beside its text
            const int space = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
            Need(Name(bar), bar->tabText(i),
                 MnemonicWidth(bar->fontMetrics(), bar->tabText(i)) + space, tab.width());
            Need(Name(bar) + QStringLiteral(" (right edge)"), bar->tabText(i), tab.right() + 1,
                 bar->width());
        }
    }

    void Combo(QComboBox* combo) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, combo);
        Need(Name(combo), combo->currentText(),
             combo->fontMetrics().horizontalAdvance(combo->currentText()), field.width());
    }

    // An entry the bar has no room for goes into its extension and has no place on the bar.
    void Menus(QMenuBar* bar) {
        for (QAction* action : bar->actions()) {
            const QRect place = bar->actionGeometry(action);
            Need(Name(bar), action->text(),
                 place.isValid() ? std::max(place.right() + 1, 1) : bar->width() + 1, bar->width());
        }
    }
};

void ExpectWhole(const FitCheck& check) {
    for (const Cut& cut : check.Cuts) {
        ADD_FAILURE() << cut;
    }
}

void ShowAndCheck(FitCheck& check, QWidget* window) {
    window->show();
    QCoreApplication::processEvents();
    check.Window(window);
    window->hide();
}

TEST_F(GermanWindows, NoTextOfAnyWindowIsCut) {
    test::SettingsWorld world;
    world.Start();
    world.SetUnitSettings();
    world.SetTool(100, 12345, 2550, 3, "Bohrer 8 mm");
    world.Loaded(ConfigSource::File, world.DataFile("VGL_12345678.CD"));
    ProgramWindows& w = world.W();
    // The windows do speak German: the fit below is that of the German texts.
    ASSERT_EQ(w.Main->menuBar()->actions().constFirst()->text().toStdString(), "&Datei");

    FitCheck check;
    ShowAndCheck(check, w.Main);
    w.Settings->show();
    for (int page = 0; page < w.Settings->PageTabs->count(); ++page) {
        SCOPED_TRACE(page);
        w.Settings->PageTabs->setCurrentIndex(page);
        QCoreApplication::processEvents();
        check.Window(w.Settings);
    }
    w.Settings->hide();
    // The windows built for each use, as their openers build them.
    SourceChooser chooser(ChooserInputs{}, world.Context->Messages, world.Context->Files);
    ToolEditor editor(*world.Context, w.Settings->ToolEdit);
    AboutBox about;
    CommunicationDialog communication(*world.Context);
    IdentifierWindow identifier(world.Messages, world.Help);
    for (QWidget* window : std::initializer_list<QWidget*>{
             &chooser, &editor, &about, w.Manual, &communication, &identifier, w.Monitor}) {
        ShowAndCheck(check, window);
    }
    ShowAndCheck(check, &world.Help);
    DifferencesWindow differences(QStringLiteral("VGL_12345678.CD"),
                                  {QStringLiteral("tool 3: angle 45.50 in file, 46.50 in unit")});
    ShowAndCheck(check, &differences);
    ExpectWhole(check);
    // Every window has its texts: a walk that found none would prove nothing.
    EXPECT_GT(check.Checked, 150);
}

// The notices take the core's captions and messages; each of them shows whole.
TEST_F(GermanWindows, NoticesShowTheirCaptionsWhole) {
    test::GuiWorld world;
    world.Start();
    ProgressWindow progress;
    BusyWindow busy;
    FitCheck check;
    for (const char* caption :
         {"Reading data from VGL. Please wait ...", "Sending data to VGL. Please wait ...",
          "Reading back data from VGL. Please wait ..."}) {
        progress.ShowProgress(caption);
        QCoreApplication::processEvents();
        check.Window(&progress);
        progress.HideProgress();
    }
    busy.ShowBusyBox("Status: Busy ....", "Printing Data!  Please wait ....!");
    check.Window(&busy);
    busy.HideBusyBox();
    ExpectWhole(check);
    EXPECT_EQ(check.Checked, 5);
}

// The status bars' panels keep the widths they were designed with, scaled to the width of
// their window: every text the core puts into them fits its panel in German too, in the main
// window and in the narrower settings and manual-mode windows.
TEST_F(GermanWindows, StatusPanelsHoldEveryText) {
    test::SettingsWorld world;
    world.Start();
    world.SetUnitSettings();
    world.SetTool(1, 9000, 200, 1);
    world.Loaded(ConfigSource::File, world.DataFile("VGL_12345678.CD"));
    ProgramWindows& w = world.W();
    std::vector<std::string> texts[StatusPanel::Count] = {};
    texts[StatusPanel::Scanning] = {StatusText::Scanning, StatusText::ZeroPosition,
                                    StatusText::Unknown};
    texts[StatusPanel::Angle] = {std::string(StatusText::AnglePrefix) + AngleText(35999)};
    texts[StatusPanel::Id] = {StatusText::NoId, std::string(StatusText::IdPrefix) + "12345678"};
    // no message: the panel says that the unit is the built-in one
    texts[StatusPanel::Error] = {""};
    for (int bit = 0; bit < 8; ++bit) {
        texts[StatusPanel::Error].push_back(ErrorMessageText(static_cast<uint8_t>(1u << bit)));
    }
    FitCheck check;
    for (QWidget* window : std::initializer_list<QWidget*>{w.Main, w.Settings, w.Manual}) {
        window->show();
        QCoreApplication::processEvents();
        StatusBarWidget* bar = window->findChild<StatusBarWidget*>();
        ASSERT_NE(bar, nullptr) << Name(window).toStdString();
        const QFontMetrics metrics = bar->fontMetrics();
        for (int panel = 0; panel < StatusPanel::Count; ++panel) {
            for (const std::string& text : texts[panel]) {
                bar->SetPanelText(panel, text);
                const QString shown = bar->ShownPanelText(panel);
                // the panel draws its text two pixels in from either side
                check.Need(Name(window) + QStringLiteral(" status panel %1").arg(panel), shown,
                           metrics.horizontalAdvance(shown), bar->PanelRect(panel).width() - 4);
            }
        }
        // the panels show the translation, not the core's English
        bar->SetPanelText(StatusPanel::Scanning, StatusText::Scanning);
        EXPECT_NE(bar->ShownPanelText(StatusPanel::Scanning).toStdString(), StatusText::Scanning);
        window->hide();
    }
    ExpectWhole(check);
    EXPECT_EQ(check.Checked, 3 * 15);
}

// The German menus keep what the English ones have: every menu and item its own access key.
TEST_F(GermanWindows, EveryMenuAndItemKeepsItsOwnAccessKey) {
    test::GuiWorld world;
    world.Start();
    std::vector<QList<QAction*>> menus = {world.W().Main->menuBar()->actions()};
    for (QAction* title : world.W().Main->menuBar()->actions()) {
        menus.push_back(title->menu()->actions());
        for (QAction* item : title->menu()->actions()) {
            if (item->menu() != nullptr) {
                menus.push_back(item->menu()->actions());
            }
        }
    }
    for (const QList<QAction*>& actions : menus) {
        std::set<QString> keys;
        for (const QAction* action : actions) {
            const QString key = QKeySequence::mnemonic(action->text()).toString();
            // the languages are named as their readers write them, without a key
            if (action->isSeparator() || (key.isEmpty() && action->data().isValid())) {
                continue;
            }
            EXPECT_FALSE(key.isEmpty()) << action->text().toStdString();
            EXPECT_TRUE(keys.insert(key).second) << key.toStdString() << " twice";
        }
    }
    EXPECT_EQ(menus.size(), 6u);
}

// The differences a comparison finds are told in German: no word of the core's English line is
// left, and the values are those of the English line.
TEST_F(GermanWindows, DifferencesOfAComparisonAreToldInGerman) {
    auto file = std::make_unique<ConfigState>();
    auto unit = std::make_unique<ConfigState>();
    InitConfigState(*file);
    InitConfigState(*unit);
    SetConfigDefaults(file->ConfigImage);
    ConfigImage& other = unit->ConfigImage;
    SetConfigDefaults(other);
    // every setting other, and a tool of each kind of difference
    for (int32_t ConfigImage::*field :
         {&ConfigImage::Scanner, &ConfigImage::Out1Polarity, &ConfigImage::Out2Polarity,
          &ConfigImage::ReturnTrvMon, &ConfigImage::SignalMode, &ConfigImage::Monitoring,
          &ConfigImage::RotDir, &ConfigImage::PowerOnMove, &ConfigImage::DefaultIntensity}) {
        other.*field = (file->ConfigImage.*field == 0) ? 1 : 0;
    }
    other.OutPulseTime = file->ConfigImage.OutPulseTime + 20;
    other.DefaultAngle = file->ConfigImage.DefaultAngle + 100;
    other.DefaultTolerance = file->ConfigImage.DefaultTolerance + 10;
    file->ConfigImage.Tools[3] = {1, 45.5F, 1.0F, 1};
    other.Tools[3] = {1, 46.5F, 2.0F, 2};
    file->ConfigImage.Tools[4] = {1, 10.0F, 1.0F, 1};
    const std::vector<ConfigDifference> differences = CompareWithUnit(*file, *unit, CompareScope{});
    ASSERT_GE(differences.size(), 15u);
    const QRegularExpression english(QStringLiteral(
        "\\b(tool|angle|tolerance|intensity|sent|stored|programmed|empty|Out1|Out2|Default|"
        "Active|Inactive|Normally|Clockwise|Position|Object|Space|Monitoring|Signal|Rotation|"
        "Power|Move|Pulse|Unknown)\\b"));
    for (const ConfigDifference& difference : differences) {
        const QString german = DifferenceLine(difference, "sent", "stored");
        EXPECT_FALSE(german.contains(english)) << german.toStdString();
        for (const std::string* value : {&difference.Expected, &difference.Found}) {
            if (!value->empty() && std::isdigit(static_cast<unsigned char>(value->front()))) {
                EXPECT_TRUE(german.contains(QString::fromStdString(*value)))
                    << german.toStdString();
            }
        }
    }
}

// What the core says with values in it (values out of range, why a serial port did not open)
// reaches the message box in German, its values as they were.
TEST_F(GermanWindows, CoreLinesWithValuesAreToldInGerman) {
    ConfigImage image{};
    SetConfigDefaults(image);
    image.Tools[5] = {1, 700.0F, 30.0F, 7};
    image.ReturnTrvMon = 5;
    image.OutPulseTime = 7;
    const std::vector<OutOfRangeValue> values = ValuesOutOfRange(image, true);
    ASSERT_GE(values.size(), 4u);
    std::vector<std::string> lines;
    for (const OutOfRangeValue& value : values) {
        lines.push_back(OutOfRangeText(value));
    }
    const std::string missing = DescribeOpenFailure(
        {SerialOpenFailure::Step::Open, ENOENT, "/nowhere/COM3", 3, "/nowhere/"});
    ASSERT_NE(missing.find('\n'), std::string::npos);
    lines.push_back(missing.substr(missing.find('\n') + 1));
    const QRegularExpression english(
        QStringLiteral("\\b(Tool|is|outside|to|or|leads|through|which|not|there|Angle|"
                       "Tolerance|Intensity|Return|Travel|Monitoring)\\b"));
    for (const std::string& line : lines) {
        const QString german = CoreText(QString::fromStdString(line));
        EXPECT_FALSE(german.contains(english)) << line << " -> " << german.toStdString();
        static const QRegularExpression number(QStringLiteral("\\d+(\\.\\d+)?"));
        for (auto it = number.globalMatch(QString::fromStdString(line)); it.hasNext();) {
            const QString value = it.next().captured();
            EXPECT_TRUE(german.contains(value))
                << value.toStdString() << " lost in " << german.toStdString();
        }
    }
}

} // namespace
} // namespace vg

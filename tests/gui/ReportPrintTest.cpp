#include "gui/BusyWindow.h"
#include "gui/PrinterCanvas.h"
#include "support/SettingsWorld.h"

#include <QDateTime>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace vg {
namespace {

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        pclose(pipe);
    }
    return out;
}

// A printed report read back from its PDF: the rows of each page, indexed by their position
// in line heights from the top of the page, as `pdftotext -layout` lays out their text.
// Whether a busy box is on the screen: the print builds its own for the job.
bool BusyBoxShown() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<BusyWindow*>(window) != nullptr && window->isVisible()) {
            return true;
        }
    }
    return false;
}

struct PdfReport {
    std::vector<std::map<int, std::string>> Pages;
    double PageHeight = 0; // in line heights

    explicit PdfReport(const std::filesystem::path& pdf) {
        const std::string quoted = std::string("'").append(pdf.string()).append("'");
        // Word boxes in points give the line height, the character pitch and where each
        // page's text starts, which the text layout drops.
        std::istringstream tsv(Output("pdftotext -tsv " + quoted + " -"));
        std::map<int, std::set<double>> tops;
        double pageHeight = 0, widths = 0, chars = 0;
        for (std::string line; std::getline(tsv, line);) {
            std::istringstream fields(line);
            int level = 0, page = 0;
            double left = 0, top = 0, width = 0, height = 0;
            std::string skip, text;
            fields >> level >> page >> skip >> skip >> skip >> skip >> left >> top >> width >>
                height >> skip;
            std::getline(fields >> std::ws, text);
            if (level == 1) {
                pageHeight = height;
            } else if (level == 4) {
                tops[page].insert(top);
            } else if (level == 5) {
                widths += width;
                chars += static_cast<double>(text.size());
            }
        }
        double lineHeight = pageHeight;
        for (auto t = tops[1].begin(); std::next(t) != tops[1].end(); ++t) {
            lineHeight = std::min(lineHeight, *std::next(t) - *t);
        }
        PageHeight = pageHeight / lineHeight;
        std::istringstream text(Output("pdftotext -layout -fixed " +
                                       std::to_string(widths / chars) + " " + quoted + " -"));
        std::string page;
        for (int nr = 1; std::getline(text, page, '\f') && tops.count(nr) != 0; ++nr) {
            auto& rows = Pages.emplace_back();
            int row = static_cast<int>(std::lround(*tops[nr].begin() / lineHeight));
            std::istringstream lines(page);
            for (std::string rowText; std::getline(lines, rowText); ++row) {
                if (!rowText.empty()) {
                    rows[row] = rowText;
                }
            }
        }
    }
};

// Texts at grid columns, as the report places them.
std::string At(std::initializer_list<std::pair<size_t, std::string>> parts) {
    std::string row;
    for (const auto& [column, text] : parts) {
        row.resize(column, ' ');
        row += text;
    }
    return row;
}

class ReportPrintTest : public ::testing::Test {
protected:
    ReportPrintTest() {
        World.Start();
        World.SetUnitSettings();
        World.Config().VersionValid = true;
        World.Config().FirmwareInfo = {4, 8, 24, 4, 4, 1};
        World.Config().NamespaceIdValid = true;
        World.Config().NamespaceInfo.CU_Id = {'0', '0', '0', '0', '1', '2', '3', '4'};
    }
    ~ReportPrintTest() override { World.Settings().hide(); }

    void PrintTo(const std::filesystem::path& pdf) {
        PdfFileChoice choice(QString::fromStdString(pdf.string()));
        World.Settings().SetPrinterChoice(&choice);
        World.Settings().PrintButton->click();
        World.Settings().SetPrinterChoice(nullptr);
        EXPECT_FALSE(BusyBoxShown());
        EXPECT_FALSE(World.Config().TransferBusy);
    }

    test::SettingsWorld World;
};

TEST_F(ReportPrintTest, TheHeaderShowsThePagesAsTheyStand) {
    World.SetTool(5, 16000, 100, 1, "drill");
    World.SetTool(17, 115, 70, 0);
    World.Loaded(ConfigSource::Unit);
    World.Open();
    // unsaved edits are printed
    test::SettingsWorld::Type(World.Settings().PulseTimeField, "250", World.Settings().PrintButton);
    const auto pdf = World.Dir / "report.pdf";
    const QDateTime before = QDateTime::currentDateTime();
    PrintTo(pdf);
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_EQ(World.Config().ConfigImage.OutPulseTime, 20);

    const PdfReport report(pdf);
    EXPECT_NE(Output("pdfinfo '" + pdf.string() + "'").find("Title:           My Print Job\n"),
              std::string::npos);
    ASSERT_EQ(report.Pages.size(), 1u);
    const auto& rows = report.Pages[0];
    const std::string title = rows.at(4);
    EXPECT_EQ(title.substr(0, 74), At({{4, "VG_Configuration"}, {64, "Date:"}, {74, ""}}));
    const std::string date = title.substr(74);
    EXPECT_TRUE(date == ReportDateTimeText(before).toStdString() ||
                date == ReportDateTimeText(after).toStdString())
        << date;
    const std::map<int, std::string> expected = {
        {5, At({{4, "Configuration:"}, {34, "Vigilo  CU_Id = 00001234"}})},
        {6, At({{4, "Firmsoftware-Version:"}, {34, "V1.04  24/08/04"}})},
        {8, At({{4, "Global-Settings:"}})},
        {9, At({{6, "Scanner:"}, {34, "RZ41"}})},
        {10, At({{6, "Out1:"}, {34, "N/O Normally Open"}})},
        {11, At({{6, "Out2:"}, {34, "N/O Normally Open"}})},
        {12, At({{6, "Out Pulse Time [msec]:"}, {34, "250"}})},
        {13, At({{6, "Return Travel Monitoring:"}, {34, "Inactive"}})},
        {14, At({{6, "Signal Mode:"}, {34, "at Home Position"}})},
        {15, At({{6, "Monitoring:"}, {34, "Object"}})},
        {16, At({{6, "Rotation Direction:"}, {34, "Clockwise"}})},
        {17, At({{6, "Power On Move:"}, {34, "Active"}})},
        {19, At({{4, "Default-Settings:"}})},
        {20, At({{6, "Default Angle:"}, {34, "120.00"}})},
        {21, At({{6, "Default Tolerance:"}, {34, "3.00"}})},
        {22, At({{6, "Default Intensity:"}, {34, "Low"}})},
        {24, At({{4, "Tool-Settings:"}})},
        {25, At({{4, "   Tool  Angle     Tole- Inten-  Toolname"}})},
        {26, At({{4, "    Nr.            rance  sity"}})},
        {27, At({{6, " 005   160.00   1.00    1    drill"}})},
        {28, At({{6, " 017     1.15   0.70    0"}})},
    };
    for (const auto& [row, text] : expected) {
        EXPECT_EQ(rows.count(row) ? rows.at(row) : "(nothing)", text) << "row " << row;
    }
    EXPECT_EQ(rows.size(), expected.size() + 1) << "and no other rows";
    // the job's end hands the status bar and caption back to the window
    EXPECT_EQ(World.Context->LiveStatus.Target(), World.Settings().StatusBar);
}

TEST_F(ReportPrintTest, ToolLinesBreakThePageWhenTheNextLineWouldNotFit) {
    for (int i = 0; i < 128; ++i) {
        World.SetTool(i, 1000 + i * 100, 100, i % 4);
    }
    World.Loaded(ConfigSource::File, World.DataFile("VGL_00001234.CD"));
    World.Open();
    const auto pdf = World.Dir / "long.pdf";
    PrintTo(pdf);
    const PdfReport report(pdf);
    ASSERT_GE(report.Pages.size(), 2u);
    EXPECT_EQ(report.Pages[0].at(5), At({{4, "Configuration:"}, {34, "File: VGL_00001234.CD"}}));
    EXPECT_EQ(report.Pages[0].at(6),
              At({{4, "Firmsoftware-Version:"}, {34, "Version -------------------"}}));
    // every line once, in order: from row 27 on the first page, from row 2 on the next
    size_t next = 0;
    for (size_t page = 0; page < report.Pages.size(); ++page) {
        int expectedRow = page == 0 ? 27 : 2;
        for (const auto& [row, text] : report.Pages[page]) {
            if (page == 0 && row < 27) {
                continue;
            }
            ASSERT_LT(next, World.Config().ToolLines.size());
            EXPECT_EQ(row, expectedRow++);
            std::string line = "      " + World.Config().ToolLines[next++];
            line.erase(line.find_last_not_of(' ') + 1);
            EXPECT_EQ(text, line);
        }
        // a page ends with the line after which the next would reach the page's end
        if (page + 1 < report.Pages.size()) {
            const int last = report.Pages[page].rbegin()->first;
            EXPECT_GE(last + 2, report.PageHeight) << "page " << page;
            EXPECT_LT(last + 1, report.PageHeight) << "page " << page;
        }
    }
    EXPECT_EQ(next, 128u);
}

TEST_F(ReportPrintTest, WithoutAPrinterTheReportIsAPdfBesideTheConfiguration) {
    class NoPrinter : public PrinterChoice {
    public:
        bool SelectPrinter(QPrinter&) override { return false; }
    } none;
    World.Settings().SetPrinterChoice(&none);
    World.Loaded(ConfigSource::File, World.DataFile("VGL_00001234.CD"));
    World.Open();
    const std::string pdf = World.DataFile("VGL_00001234.pdf");
    World.Messages.Expect("No printer is installed. The report was written to\n" + pdf);
    World.Settings().PrintButton->click();
    EXPECT_EQ(PdfReport(pdf).Pages.size(), 1u);

    // from the unit there is no file: the data directory under the unit's identifier
    World.Config().ConfigSource = ConfigSource::Unit;
    EXPECT_EQ(ReportPdfPath(World.Config()).toStdString(), pdf);
    World.Config().NamespaceIdValid = false;
    EXPECT_EQ(ReportPdfPath(World.Config()).toStdString(), World.DataFile("VG_Configuration.pdf"));

    // a file that cannot be written is a failed job, told as such
    World.Config().ConfigSource = ConfigSource::File;
    World.Config().ConfigFileName = (World.Dir / "gone" / "VGL_00001234.CD").string();
    World.Messages.Expect("The report could not be written to\n" +
                          (World.Dir / "gone" / "VGL_00001234.pdf").string());
    World.Settings().PrintButton->click();
    EXPECT_FALSE(BusyBoxShown());
    EXPECT_FALSE(World.Config().TransferBusy);
    World.Settings().SetPrinterChoice(nullptr);
}

TEST(ReportDateTime, ShortDateAndLongTimeWithoutTheZone) {
    const QDateTime when(QDate(2006, 12, 11), QTime(9, 5, 7));
    EXPECT_EQ(ReportDateTimeText(when, QLocale(QLocale::German, QLocale::Germany)),
              "11.12.06 09:05:07");
    EXPECT_EQ(ReportDateTimeText(when, QLocale(QLocale::English, QLocale::UnitedStates)),
              "12/11/06 9:05:07 AM");
}

} // namespace
} // namespace vg

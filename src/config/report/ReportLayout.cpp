#include "config/report/ReportLayout.h"

#include "config/model/FileNames.h"
#include "config/model/TextFormats.h"

#include <array>
#include <vector>

namespace vg {

namespace {

// Grid columns of the report, in character widths.
constexpr int HeadingColumn = 4;
constexpr int LabelColumn = 6;
constexpr int ValueColumn = 34;
constexpr int DateLabelColumn = 64;
constexpr int DateColumn = 74;
constexpr int ToolLineColumn = 6;
constexpr int FirstRow = 4;
constexpr int NewPageRow = 2;

struct ReportRow {
    int Column;
    std::string Label;
    std::string Value; // at ValueColumn, when there is one
    int Advance;       // line heights to the next row
};

} // namespace

std::string ReportSourceText(const ConfigState& state) {
    if (state.ConfigSource != ConfigSource::Unit) {
        return "File: " + FileNamePart(state.ConfigFileName);
    }
    if (!state.NamespaceIdValid) {
        return "Vigilo  CU_Id is not defined";
    }
    const auto& id = state.NamespaceInfo.CU_Id;
    return "Vigilo  CU_Id = " + std::string(id.begin(), id.end());
}

namespace {

// A block of settings rows; a blank row follows the last one.
void AppendSettingRows(std::vector<ReportRow>& rows, std::span<const ReportSetting> settings,
                       const ConfigImage& image) {
    for (const ReportSetting& setting : settings) {
        rows.push_back(
            {LabelColumn, std::string(setting.Label) + ":", setting.Text(image.*setting.Field), 1});
    }
    rows.back().Advance = 2;
}

std::vector<ReportRow> HeaderRows(const ConfigState& state, const ConfigImage& settings) {
    const std::string version = state.ConfigSource == ConfigSource::Unit
                                    ? FirmwareVersionText(state.FirmwareInfo)
                                    : "Version -------------------";
    std::vector<ReportRow> rows = {
        {HeadingColumn, "Configuration:", ReportSourceText(state), 1},
        {HeadingColumn, "Firmsoftware-Version:", version, 2},
        {HeadingColumn, "Global-Settings:", "", 1},
    };
    AppendSettingRows(rows, GlobalReportSettings(), settings);
    rows.push_back({HeadingColumn, "Default-Settings:", "", 1});
    AppendSettingRows(rows, DefaultReportSettings(), settings);
    rows.push_back({HeadingColumn, "Tool-Settings:", "", 1});
    rows.push_back({HeadingColumn, "   Tool  Angle     Tole- Inten-  Toolname", "", 1});
    rows.push_back({HeadingColumn, "    Nr.            rance  sity    ", "", 1});
    return rows;
}

// The busy state belongs to the job: it ends with the job, however the job ends.
class BusyJob {
public:
    BusyJob(ConfigState& state, BusyBox& busy) : State(state), Busy(busy) {
        State.TransferBusy = true;
        Busy.ShowBusyBox("Status: Busy ....", "Printing Data!  Please wait ....!");
    }
    ~BusyJob() {
        Busy.HideBusyBox();
        State.TransferBusy = false;
    }
    BusyJob(const BusyJob&) = delete;
    BusyJob& operator=(const BusyJob&) = delete;

private:
    ConfigState& State;
    BusyBox& Busy;
};

// Draws the header and settings block; returns the row of the first tool line.
int DrawHeader(const ConfigState& state, const ConfigImage& settings, ReportCanvas& canvas, int w,
               int h, const std::string& dateTimeText) {
    int y = FirstRow * h;
    canvas.TextOut(HeadingColumn * w, y, "VG_Configuration");
    canvas.TextOut(DateLabelColumn * w, y, "Date:");
    canvas.TextOut(DateColumn * w, y, dateTimeText);
    y += h;
    for (const ReportRow& row : HeaderRows(state, settings)) {
        canvas.TextOut(row.Column * w, y, row.Label);
        if (!row.Value.empty()) {
            canvas.TextOut(ValueColumn * w, y, row.Value);
        }
        y += row.Advance * h;
    }
    return y;
}

void DrawToolLines(const ConfigState& state, ReportCanvas& canvas, int pageHeight, int w, int h,
                   int y) {
    for (const std::string& line : state.ToolLines) {
        canvas.TextOut(ToolLineColumn * w, y, line);
        y += h;
        if (y + h >= pageHeight) {
            canvas.NewPage();
            y = NewPageRow * h;
        }
    }
}

} // namespace

bool PrintReport(ConfigState& state, const ConfigImage& settings, ReportCanvas& canvas,
                 BusyBox& busy, const std::string& dateTimeText) {
    const int pageHeight = canvas.PageHeight();
    const BusyJob job(state, busy);
    canvas.SetJobTitle("My Print Job");
    canvas.SetFixedPitchFont(10);
    const int h = canvas.TextHeight("Something");
    const int w = canvas.TextWidth("1");
    if (!canvas.BeginDocument()) {
        return false;
    }
    const int y = DrawHeader(state, settings, canvas, w, h, dateTimeText);
    DrawToolLines(state, canvas, pageHeight, w, h, y);
    return canvas.EndDocument();
}

} // namespace vg

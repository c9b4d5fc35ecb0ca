#pragma once

#include "config/report/TextGridCanvas.h"

#include <set>
#include <string>

namespace vg::cli {

// The report on a character grid, with a mark in the first column of every row that draws
// one of the marked texts (a setting's label, a tool line). The report itself starts in a
// later column, so the mark never covers any of it.
class MarkedReportCanvas : public TextGridCanvas {
public:
    static constexpr const char* Mark = "!";

    explicit MarkedReportCanvas(std::set<std::string> marked) : Marked(std::move(marked)) {}

    void TextOut(int x, int y, const std::string& text) override;

private:
    std::set<std::string> Marked;
};

} // namespace vg::cli

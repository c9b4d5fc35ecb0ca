#pragma once

#include "config/report/ReportCanvas.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vg {

// A report canvas of characters: every character is one unit wide and one unit high, so
// grid column x and row y hold the character drawn at (x, y). Pages are separated by a form
// feed in Text().
class TextGridCanvas : public ReportCanvas {
public:
    explicit TextGridCanvas(int rowsPerPage = 66) : RowsPerPage(rowsPerPage) {}

    int PageHeight() override { return RowsPerPage; }
    void SetJobTitle(const std::string& title) override { Title = title; }
    void SetFixedPitchFont(int pointSize) override { FontSize = pointSize; }
    int TextWidth(const std::string& text) override { return static_cast<int>(text.size()); }
    int TextHeight(const std::string&) override { return 1; }
    bool BeginDocument() override;
    void TextOut(int x, int y, const std::string& text) override;
    void NewPage() override;
    bool EndDocument() override;

    // Rows of each page up to its last written row; rows keep their trailing blanks.
    const std::vector<std::vector<std::string>>& Pages() const { return PageList; }
    // A row of a page, empty when nothing was drawn there.
    std::string Row(size_t page, size_t row) const;
    // All pages, rows ending with '\n', pages separated by '\f'; each row passed through
    // `convertRow` when one is given.
    std::string Text(const std::function<std::string(std::string_view)>& convertRow = {}) const;

    const std::string& JobTitle() const { return Title; }
    int FontPointSize() const { return FontSize; }
    bool Finished() const { return Ended; }

private:
    int RowsPerPage;
    std::string Title;
    int FontSize = 0;
    bool Ended = false;
    std::vector<std::vector<std::string>> PageList;
};

} // namespace vg

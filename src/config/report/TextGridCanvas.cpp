#include "config/report/TextGridCanvas.h"

namespace vg {

bool TextGridCanvas::BeginDocument() {
    PageList.assign(1, {});
    Ended = false;
    return true;
}

void TextGridCanvas::TextOut(int x, int y, const std::string& text) {
    if (x < 0 || y < 0 || PageList.empty()) {
        return;
    }
    auto& rows = PageList.back();
    const auto row = static_cast<size_t>(y);
    const auto column = static_cast<size_t>(x);
    if (rows.size() <= row) {
        rows.resize(row + 1);
    }
    std::string& line = rows[row];
    if (line.size() < column + text.size()) {
        line.resize(column + text.size(), ' ');
    }
    line.replace(column, text.size(), text);
}

void TextGridCanvas::NewPage() {
    PageList.emplace_back();
}

bool TextGridCanvas::EndDocument() {
    Ended = true;
    return true;
}

std::string TextGridCanvas::Row(size_t page, size_t row) const {
    if (page >= PageList.size() || row >= PageList[page].size()) {
        return {};
    }
    return PageList[page][row];
}

std::string
TextGridCanvas::Text(const std::function<std::string(std::string_view)>& convertRow) const {
    std::string text;
    for (size_t page = 0; page < PageList.size(); ++page) {
        if (page > 0) {
            text += '\f';
        }
        for (const std::string& row : PageList[page]) {
            text += convertRow ? convertRow(row) : row;
            text += '\n';
        }
    }
    return text;
}

} // namespace vg

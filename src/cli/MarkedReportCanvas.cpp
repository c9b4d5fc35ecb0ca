#include "cli/MarkedReportCanvas.h"

namespace vg::cli {

void MarkedReportCanvas::TextOut(int x, int y, const std::string& text) {
    TextGridCanvas::TextOut(x, y, text);
    if (Marked.count(text) != 0) {
        TextGridCanvas::TextOut(0, y, Mark);
    }
}

} // namespace vg::cli

#pragma once

#include <string>

namespace vg {

// Where the report is drawn. Positions and sizes are in the surface's device units, the top
// of the page is y = 0. The windows implement it with the printer; TextGridCanvas draws on
// a character grid.
class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;

    virtual int PageHeight() = 0;
    virtual void SetJobTitle(const std::string& title) = 0;
    // The report needs a fixed-pitch font so that its columns line up.
    virtual void SetFixedPitchFont(int pointSize) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    // False when no job could be started (no printer, output not writable).
    virtual bool BeginDocument() = 0;
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual void NewPage() = 0;
    // False when the job could not be finished.
    virtual bool EndDocument() = 0;
};

} // namespace vg

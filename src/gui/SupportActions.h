#pragma once

#include "gui/ProgramContext.h"

class QWidget;

namespace vg {

// Vigilo > Compare with File...: the chooser's file dialog, then the unit read back under the
// progress window and compared with the file, neither the program's configuration nor any
// file being changed. The differences are shown in a window of their own, or "Unit and file
// are the same.".
void CompareWithFile(ProgramContext& context, QWidget* parent);

// Options > Trace Line Traffic...: asks where the trace goes and starts it; false when no
// trace was started (cancelled, or the file cannot be written, which is told).
bool StartLineTraceWithWindows(ProgramContext& context, QWidget* parent);
// Ends the trace; tells when part of it could not be written.
void StopLineTraceWithWindows(ProgramContext& context);

} // namespace vg

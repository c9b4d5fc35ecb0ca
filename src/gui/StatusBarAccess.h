#pragma once

namespace vg {

// Makes the drawn status bars readable by assistive technology: each bar shows as a status
// bar with one static text per panel, named with what the panel shows (the lamps' states in
// words). Installed once, whatever the number of calls.
void InstallStatusBarAccess();

} // namespace vg

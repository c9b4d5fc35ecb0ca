#pragma once

#include <string>
#include <string_view>

namespace vg::cli {

// Text for a UTF-8 terminal from the single-byte Windows-1252 text of tool names. Control
// characters (a name file from elsewhere could hold escape sequences, line feeds or form
// feeds) and the five unused code points become U+FFFD, one column wide like the byte.
std::string TerminalTextFromWindows1252(std::string_view text);

} // namespace vg::cli

#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vg {

// Tool names and the program's texts are single-byte Windows-1252 inside the core; the
// windows convert at their boundary.
QString FromAnsi(std::string_view bytes);
std::string ToAnsi(const QString& text);

} // namespace vg

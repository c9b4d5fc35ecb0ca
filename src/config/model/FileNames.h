#pragma once

#include <string>
#include <string_view>

namespace vg {

// Everything after the last directory separator.
std::string FileNamePart(std::string_view path);

// Replaces the extension of the file name part (from its last point on) by `extension`, or
// appends it when the name has none.
std::string ReplaceExtension(std::string_view path, std::string_view extension);

} // namespace vg

#include "config/model/FileNames.h"

namespace vg {

std::string FileNamePart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ReplaceExtension(std::string_view path, std::string_view extension) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    const size_t stem = dot != std::string_view::npos && dot >= nameStart ? dot : path.size();
    return std::string(path.substr(0, stem)) + std::string(extension);
}

} // namespace vg

#pragma once

#include "common/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

namespace vg::test {

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::filesystem::path FixturePath(const std::string& name) {
    return std::filesystem::path(VG_TEST_DATA_DIR) / "config" / name;
}

// The pair of files the fixtures hold for unit 00001234: a full configuration and its names.
inline std::string GoldenImage() {
    return ReadBytes(FixturePath("VGL_00001234.CD"));
}
inline std::string GoldenNames() {
    return ReadBytes(FixturePath("VGL_00001234.NS"));
}

// A writer that accepts `budget` bytes in all and then fails as a full disk does.
inline WriteFunction FailingAfter(size_t budget) {
    auto left = std::make_shared<size_t>(budget);
    return [left](int fd, const void* data, size_t size) -> ssize_t {
        if (*left == 0) {
            errno = ENOSPC;
            return -1;
        }
        const size_t now = std::min(size, *left);
        *left -= now;
        return ::write(fd, data, now);
    };
}

} // namespace vg::test

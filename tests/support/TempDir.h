#pragma once

#include <filesystem>
#include <string>

namespace vg::test {

// A fresh directory for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    // Under `base` instead of the usual temporary folder (tests that hand the folder to
    // another user need one every user can reach, such as /tmp).
    explicit TempDir(const std::filesystem::path& base);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    // The directory as the program names its own directory: with a trailing separator.
    std::string ProgramDir() const { return Root.string() + "/"; }
    std::filesystem::path operator/(const std::string& name) const { return Root / name; }

private:
    std::filesystem::path Root;
};

} // namespace vg::test

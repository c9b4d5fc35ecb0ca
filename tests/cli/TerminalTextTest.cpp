#include "cli/TerminalText.h"

#include <gtest/gtest.h>

namespace vg::cli {
namespace {

TEST(TerminalText, Windows1252BecomesUtf8) {
    EXPECT_EQ(TerminalTextFromWindows1252("drill 2,5 mm"), "drill 2,5 mm");
    EXPECT_EQ(TerminalTextFromWindows1252("Fr\xE4ser \xD8"
                                          "6\xFF"),
              "Fr\u00e4ser \u00d86\u00ff");
    // The block that differs from Latin-1, at both ends and in between.
    EXPECT_EQ(TerminalTextFromWindows1252("\x80\x84\x8A\x91\x99\x9F"),
              "\u20ac\u201e\u0160\u2018\u2122\u0178");
}

TEST(TerminalText, ControlsAndUnusedCodesAreReplaced) {
    // An escape sequence in a name must not reach the terminal as one.
    EXPECT_EQ(TerminalTextFromWindows1252("a\x1B[2Jb\r\x7F"), "a\ufffd[2Jb\ufffd\ufffd");
    EXPECT_EQ(TerminalTextFromWindows1252(std::string_view("\x81\x8D\x8F\x90\x9D\0", 6)),
              "\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd");
    EXPECT_EQ(TerminalTextFromWindows1252("page\fnext\n"), "page\ufffdnext\ufffd");
}

} // namespace
} // namespace vg::cli

#include "classlib/core/messagetext.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageText, Counts) {
    const struct {
        std::size_t n;
        std::string grouped;
        std::string counted;
    } cases[] = {
        {0, "0", "0 lines"},
        {1, "1", "1 line"},
        {999, "999", "999 lines"},
        {1000, "1,000", "1,000 lines"},
        {2500000, "2,500,000", "2,500,000 lines"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GroupedCount(c.n), c.grouped);
        EXPECT_EQ(CountOf(c.n, "line", "lines"), c.counted);
    }
}

// message, the paths found, the message with Windows separators, shortened to 12 bytes.
TEST(MessageText, PathsInMessages) {
    const struct {
        std::string message;
        std::vector<std::string> paths;
        std::string windows;
        std::string shortened;
    } cases[] = {
        {"cannot open /p/a b.c: No such file",
         {"/p/a b.c"},
         "cannot open \\p\\a b.c: No such file",
         "cannot open /p/a b.c: No such file"},
        {"wrote Z:/work/demo/x_dep.Txt",
         {"Z:/work/demo/x_dep.Txt"},
         "wrote Z:\\work\\demo\\x_dep.Txt",
         "wrote Z:/\xE2\x80\xA6"
         "ep.Txt"},
        {"\"/p/x\" and /q; first: (//srv/share/long/name)",
         {"/p/x", "/q", "//srv/share/long/name)"},
         "\"\\p\\x\" and \\q; first: (\\\\srv\\share\\long\\name)",
         "\"/p/x\" and /q; first: (//\xE2\x80\xA6/name)"},
        {"1/2 done, a / b (*.wpj) at 07:12:05",
         {},
         "1/2 done, a / b (*.wpj) at 07:12:05",
         "1/2 done, a / b (*.wpj) at 07:12:05"},
        // A character of two bytes on the cut stays whole.
        {"/abcd\xC3\xA9\xC3\xA9\xC3\xA9/wxyz",
         {"/abcd\xC3\xA9\xC3\xA9\xC3\xA9/wxyz"},
         "\\abcd\xC3\xA9\xC3\xA9\xC3\xA9\\wxyz",
         "/abcd\xE2\x80\xA6/wxyz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> paths;
        for (const TextRange& range : PathsIn(c.message)) {
            paths.push_back(c.message.substr(range.start, range.length));
        }
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(WithPathSeparatorsOf(c.message, PathStyle::Windows), c.windows);
        EXPECT_EQ(WithPathSeparatorsOf(c.message, PathStyle::Posix), c.message);
        EXPECT_EQ(WithShortenedPaths(c.message, 12), c.shortened);
    }
}

// A status line of a width (in bytes here) shows the whole message where it
// fits, else its paths shortened just enough, but none below the shortest;
// the tooltip has the whole.
TEST(MessageText, StatusLineFitsItsWidth) {
    const std::string message =
        "Wrote 84 lines at 10:04:39 to /home/me/projects/a_long_folder/shapes/shapes_dep.Txt";
    const std::pair<std::size_t, std::string> cases[] = {
        {200, message},
        {75, "Wrote 84 lines at 10:04:39 to /home/me/projects/\xE2\x80\xA6/shapes/shapes_dep.Txt"},
        {60, "Wrote 84 lines at 10:04:39 to /home/me/\xE2\x80\xA6/shapes_dep.Txt"},
        {10, "Wrote 84 lines at 10:04:39 to /home/\xE2\x80\xA6_dep.Txt"},
    };
    for (const auto& [width, shown] : cases) {
        SCOPED_TRACE(width);
        const StatusLineText line = StatusLineTextOf(
            message, [width = width](std::string_view text) { return text.size() <= width; });
        EXPECT_EQ(line.shown, WithPathSeparatorsOf(shown, kHostPathStyle));
        EXPECT_EQ(line.whole, WithPathSeparatorsOf(message, kHostPathStyle));
    }
}

}  // namespace

#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// How the texts shown to a user are put together: counts, and the host paths
// inside a message. A message names each path once; these rules make it fit
// a status line without losing the reason that follows the path.

// n with a comma between groups of three digits ("1,234,567").
std::string GroupedCount(std::size_t n);

// The count and the word that goes with it ("1 line", "2,048 lines").
std::string CountOf(std::size_t n, std::string_view singular, std::string_view plural);

// How a host writes the separators of its paths.
enum class PathStyle { Posix, Windows };
#ifdef _WIN32
inline constexpr PathStyle kHostPathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kHostPathStyle = PathStyle::Posix;
#endif

// The absolute paths of a message, each as a range of it. A path starts at
// the beginning of the text or after a blank, '"', '(' or '[', with a
// separator ("/x", "\\server") or a drive ("C:\x", "C:/x"); it ends before
// ": ", "; ", '"' or at the end of the text, which is how every message of
// the program follows a path.
//
// | message                                    | paths                 |
// |--------------------------------------------|-----------------------|
// | "cannot open /p/a b.c: No such file"       | "/p/a b.c"            |
// | "wrote C:\p\x.Txt"                         | "C:\p\x.Txt"          |
// | "\"/p/x\" and /q; first"                   | "/p/x", "/q"          |
// | "1/2 done", "a / b", "(*.wpj)"             | none                  |
struct TextRange {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const TextRange&) const = default;
};
std::vector<TextRange> PathsIn(std::string_view message);

// The message with the paths written the way the host writes them: on
// Windows every '/' inside a path becomes '\'; on POSIX nothing changes.
std::string WithPathSeparatorsOf(std::string_view message, PathStyle style);

// The message with each path longer than maxPathLength characters shortened
// in its middle to about that length, its start and its end kept and "…"
// between ("/home/me/…/shapes_dep.Txt"), cut at separators where that costs
// at most half of either side. A character of several bytes is never cut.
std::string WithShortenedPaths(std::string_view message, std::size_t maxPathLength);

// What a status line shows of a message, and the whole of it for its tooltip:
// the host's separators, and in the line itself the paths shortened in their
// middle as far as the line needs (fits tells whether a text fits it), but
// none below kShortestShownPath characters; the whole message where it fits.
struct StatusLineText {
    std::string shown;
    std::string whole;
};
inline constexpr std::size_t kShortestShownPath = 16;
StatusLineText StatusLineTextOf(std::string_view message,
                                const std::function<bool(std::string_view shown)>& fits);

// The profile (INI) reader and writer on arbitrary contents, section, key and value: reading never
// fails, and after a write the key reads back as the value written while every other line of the
// file is kept in order.
//
// Input layout: contents, section, key and value separated by NUL bytes; missing pieces default
// to the program's own section and key.
#include <algorithm>
#include <string>
#include <vector>

#include "classlib/core/wprofile.h"
#include "fuzz/fuzzsupport.h"

namespace {

bool HasSurroundingBlanks(std::string_view text) {
    return !text.empty() && (std::string_view(" \t").find(text.front()) != std::string_view::npos ||
                             std::string_view(" \t").find(text.back()) != std::string_view::npos);
}

// Values and names the file format can carry unchanged: the reader trims blanks around them and
// drops one pair of quotes around a value, as the platform's does.
bool RoundTrips(std::string_view section, std::string_view key, std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return !HasSurroundingBlanks(section) && !HasSurroundingBlanks(key) && !key.empty() &&
           !HasSurroundingBlanks(value) && !quoted && value.size() <= kProfileValueMax;
}

std::vector<std::string> Lines(std::string_view contents) {
    std::vector<std::string_view> pieces = SplitInput(contents, "\n");
    if (pieces.back().empty()) {
        pieces.pop_back();  // a final line end starts no line
    }
    std::vector<std::string> lines;
    for (std::string_view line : pieces) {
        lines.emplace_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    }
    return lines;
}

// The new text is the old one with the key's line replaced, or with one key line inserted, or
// with a section line and a key line appended: every other line is kept in order.
bool KeepsOtherLines(std::string_view before, std::string_view after) {
    const std::vector<std::string> old = Lines(before);
    const std::vector<std::string> now = Lines(after);
    const auto [oldRest, nowRest] = std::mismatch(old.begin(), old.end(), now.begin(), now.end());
    switch (now.size() - old.size()) {
        case 0:
            return oldRest == old.end() || std::equal(oldRest + 1, old.end(), nowRest + 1);
        case 1:
            return std::equal(oldRest, old.end(), nowRest + 1);
        case 2:
            return oldRest == old.end();
        default:
            return false;
    }
}

}  // namespace

void FuzzInput(std::string_view bytes) {
    const std::vector<std::string_view> pieces = SplitInput(bytes, std::string_view("\0", 1));
    const std::string_view contents = pieces[0];
    const std::string section(pieces.size() > 1 ? pieces[1] : "Options");
    const std::string key(pieces.size() > 2 ? pieces[2] : "Folder");
    const std::string value(pieces.size() > 3 ? pieces[3] : "C:\\work\\");

    FUZZ_CHECK(ProfileGetValue(contents, section, key, "\x01").size() <= kProfileValueMax);
    const std::optional<std::string> written = ProfileSetValue(contents, section, key, value);
    if (!written) {
        return;
    }
    FUZZ_CHECK(KeepsOtherLines(contents, *written));
    if (RoundTrips(section, key, value)) {
        FUZZ_CHECK(ProfileGetValue(*written, section, key, "\x01") == value);
    }

    // The same through the file layer.
    MemoryFiles memory;
    memory.files.AddFile("/Tamsk.Ini", contents);
    std::string reread;
    if (WriteProfileString(memory.fs, section.c_str(), key.c_str(), value.c_str(), "/Tamsk.Ini") &&
        RoundTrips(section, key, value)) {
        FUZZ_CHECK(memory.fs.ReadFile("/Tamsk.Ini", reread).ok());
        FUZZ_CHECK(ProfileGetValue(reread, section, key, "\x01") == value);
    }
}

// The profile (INI) reader and writer on arbitrary contents, section, key and
// value: reading never fails, and after a write the key reads back as the
// value written while every other line of the file is kept in order.
//
// Input layout: contents, section, key and value separated by NUL bytes;
// missing pieces default to the program's own section and key.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/qt/wprofile.h"
#include "fuzz/fuzzsupport.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool HasSurroundingBlanks(std::string_view text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

// Values and names the file format can carry unchanged: the reader trims
// blanks around them and drops one pair of quotes around a value, as the
// platform's does.
bool RoundTrips(std::string_view section, std::string_view key, std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return !HasSurroundingBlanks(section) && !HasSurroundingBlanks(key) && !key.empty() &&
           !HasSurroundingBlanks(value) && !quoted && value.size() <= kProfileValueMax;
}

std::vector<std::string> Lines(std::string_view contents) {
    std::vector<std::string> lines;
    while (!contents.empty()) {
        const std::size_t end = contents.find('\n');
        std::string line(contents.substr(0, end));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (end == std::string_view::npos) {
            break;
        }
        contents.remove_prefix(end + 1);
    }
    return lines;
}

// The new text is the old one with the key's line replaced, or with one
// key line inserted, or with a section line and a key line appended: every
// other line is kept in order.
bool KeepsOtherLines(std::string_view before, std::string_view after) {
    const std::vector<std::string> old = Lines(before);
    const std::vector<std::string> now = Lines(after);
    if (now.size() == old.size()) {
        std::size_t differing = 0;
        for (std::size_t i = 0; i < old.size(); ++i) {
            differing += old[i] != now[i] ? 1 : 0;
        }
        return differing <= 1;
    }
    if (now.size() == old.size() + 1) {
        std::size_t i = 0;
        while (i < old.size() && old[i] == now[i]) {
            ++i;
        }
        return std::equal(old.begin() + static_cast<std::ptrdiff_t>(i), old.end(),
                          now.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
    return now.size() == old.size() + 2 && std::equal(old.begin(), old.end(), now.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> pieces = SplitInput(bytes, std::string_view("\0", 1));
    const std::string_view contents = pieces[0];
    const std::string_view section = pieces.size() > 1 ? pieces[1] : "Options";
    const std::string_view key = pieces.size() > 2 ? pieces[2] : "Folder";
    const std::string_view value = pieces.size() > 3 ? pieces[3] : "C:\\work\\";

    const std::string old = ProfileGetValue(contents, section, key, "\x01");
    FUZZ_CHECK(old.size() <= kProfileValueMax);

    const std::optional<std::string> written = ProfileSetValue(contents, section, key, value);
    if (!written) {
        return 0;
    }
    FUZZ_CHECK(KeepsOtherLines(contents, *written));
    if (RoundTrips(section, key, value)) {
        FUZZ_CHECK(ProfileGetValue(*written, section, key, "\x01") == value);
    }

    // The same through the file functions.
    const std::string path = WriteScratchFile("Tamsk.Ini", contents);
    const std::string sectionText(section);
    const std::string keyText(key);
    const std::string valueText(value);
    if (WriteProfileString(sectionText.c_str(), keyText.c_str(), valueText.c_str(), path.c_str(),
                           true) &&
        RoundTrips(section, key, value) && sectionText.size() == section.size()) {
        const WString back = ReadProfileString(sectionText.c_str(), keyText.c_str(), "\x01",
                                               path.c_str());
        FUZZ_CHECK(back.Str() == valueText);
    }
    return 0;
}

#include "classlib/core/wprofile.h"

#include <vector>

#include "classlib/core/asciicase.h"
#include "classlib/core/hostfs.h"
#include "classlib/core/pathrules.h"

namespace {

constexpr std::uint64_t kProfileMaxBytes = 64ull << 20;

std::string_view Trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> SplitLines(std::string_view contents) {
    std::vector<std::string_view> lines;
    while (!contents.empty()) {
        const std::size_t end = contents.find('\n');
        std::string_view line = contents.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        contents.remove_prefix(end + 1);
    }
    return lines;
}

// The section name of a section line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    KeyLine parsed{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
    const std::string_view value = parsed.value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        parsed.value = value.substr(1, value.size() - 2);
    }
    return parsed;
}

std::string Cut(std::string_view value) {
    return std::string(value.substr(0, kProfileValueMax));
}

bool BreaksLines(std::string_view text) {
    return text.find_first_of("\r\n") != text.npos;
}

// Index of the first section line of that name, or lines.size().
std::size_t FindSection(const std::vector<std::string_view>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (name && SameIgnoringAsciiCase(*name, section)) {
            return i;
        }
    }
    return lines.size();
}

// One past the last line of the section that starts at index start.
std::size_t SectionEnd(const std::vector<std::string_view>& lines, std::size_t start) {
    std::size_t end = start + 1;
    while (end < lines.size() && !SectionName(lines[end])) {
        ++end;
    }
    return end;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
        joined += line;
        joined += "\r\n";
    }
    return joined;
}

}  // namespace

std::string ProfileGetValue(std::string_view contents, std::string_view section,
                            std::string_view key, std::string_view defaultValue) {
    const std::vector<std::string_view> lines = SplitLines(contents);
    const std::size_t start = FindSection(lines, section);
    if (start < lines.size()) {
        const std::size_t end = SectionEnd(lines, start);
        for (std::size_t i = start + 1; i < end; ++i) {
            const auto parsed = ParseKeyLine(lines[i]);
            if (parsed && SameIgnoringAsciiCase(parsed->key, key)) {
                return Cut(parsed->value);
            }
        }
    }
    return Cut(defaultValue);
}

std::optional<std::string> ProfileSetValue(std::string_view contents, std::string_view section,
                                           std::optional<std::string_view> key,
                                           std::optional<std::string_view> value) {
    if (BreaksLines(section) || section.find(']') != section.npos ||
        (key && (BreaksLines(*key) || key->find('=') != key->npos || Trim(*key).empty() ||
                 Trim(*key).front() == '[')) ||  // such a key line would read as a section
        (value && BreaksLines(*value))) {
        return std::nullopt;
    }
    const std::vector<std::string_view> views = SplitLines(contents);
    std::vector<std::string> lines(views.begin(), views.end());
    const std::size_t start = FindSection(views, section);
    if (start == views.size()) {
        if (key && value) {
            lines.push_back("[" + std::string(section) + "]");
            lines.push_back(std::string(*key) + "=" + std::string(*value));
        }
        return Join(lines);
    }
    const std::size_t end = SectionEnd(views, start);
    if (!key) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(start),
                    lines.begin() + static_cast<std::ptrdiff_t>(end));
        return Join(lines);
    }
    std::size_t lastFilled = start;
    for (std::size_t i = start + 1; i < end; ++i) {
        if (!Trim(views[i]).empty()) {
            lastFilled = i;
        }
        const auto parsed = ParseKeyLine(views[i]);
        if (parsed && SameIgnoringAsciiCase(parsed->key, *key)) {
            if (value) {
                lines[i] = std::string(parsed->key) + "=" + std::string(*value);
            } else {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            }
            return Join(lines);
        }
    }
    if (value) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1),
                     std::string(*key) + "=" + std::string(*value));
    }
    return Join(lines);
}

WString ReadProfileString(const char* section, const char* key, const char* defaultValue,
                          const char* fileName) {
    const std::string_view fallback = defaultValue ? defaultValue : "";
    if (section == nullptr || key == nullptr || fileName == nullptr) {
        return WString(Cut(fallback));
    }
    NativeHostFs fs;
    std::string contents;
    if (!fs.ReadFile(fileName, contents, kProfileMaxBytes).ok()) {
        return WString(Cut(fallback));
    }
    return WString(ProfileGetValue(contents, section, key, fallback));
}

bool WriteProfileString(const char* section, const char* key, const char* value,
                        const char* fileName, bool /*flush*/) {
    NativeHostFs fs;
    return WriteProfileString(fs, section, key, value, fileName);
}

bool WriteProfileString(HostFs& fs, const char* section, const char* key, const char* value,
                        const char* fileName) {
    if (section == nullptr && key == nullptr && value == nullptr) {
        return true;
    }
    if (section == nullptr || fileName == nullptr) {
        return false;
    }
    std::string contents;
    const HostStatus read = fs.ReadFile(fileName, contents, kProfileMaxBytes);
    if (!read.ok() && read.code != HostStatus::Code::NotFound) {
        return false;  // never replace a file that could not be read
    }
    const std::optional<std::string> updated = ProfileSetValue(
        contents, section, key ? std::optional<std::string_view>(key) : std::nullopt,
        value ? std::optional<std::string_view>(value) : std::nullopt);
    if (!updated) {
        return false;
    }
    if (*updated == contents) {
        return true;
    }
    return fs
        .WriteFileAtomically(fileName,
                             [&](std::ostream& out) {
                                 out << *updated;
                                 return static_cast<bool>(out);
                             })
        .ok();
}

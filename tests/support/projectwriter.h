#pragma once

// Builds target and project files the way the IDE writes them, one value per line (or, for the
// NUL-separated form, ended by a NUL byte), from one list of values, so that the same records can
// be read in every form. How each form splits into values is the line source's business and
// tested there; booleans are written as "0" and "1" here. Header-only: shared by the readers'
// tests, the cli and end-to-end tests and the whole-load fuzz target.

#include <string>
#include <string_view>
#include <vector>

namespace projectwriter {

using Values = std::vector<std::string>;

// Values followed by more values.
inline Values operator+(Values values, const Values& more) {
    values.insert(values.end(), more.begin(), more.end());
    return values;
}

// A length prefix followed by the value.
inline Values Sized(std::string_view value) {
    return {std::to_string(value.size()), std::string(value)};
}

inline Values TargetHeader(std::string_view version) {
    return {std::string(version), "targetIdent", "0", "MProject", "1"};
}

inline Values ProjectHeader(std::string_view version) {
    return {std::string(version),
            "projectIdent",
            "0",
            "VpeMain",
            "1",
            "WRect",
            "0",
            "0",
            "7680",
            "10240",
            "2",
            "MProject"};
}

// A target reference of a project file: "VComponent", then the reference on
// the 12th line after it.
inline Values Reference(std::string_view targetFile) {
    return Values{"VComponent", "8", "WRect", "0", "0",        "5712",
                  "4295",       "0", "0",     "9", "WFileName"} +
           Sized(targetFile) + Values{"0", "1"};
}

inline Values Component(std::string_view code) {
    return Values{"MComponent", "0", "2", "WString", "4", "NEXE", "3", "WString", "5"} +
           Values{std::string(code), "1", "0", "1"};
}

inline Values Item(std::string_view name, std::string_view kind = "COBJ") {
    return Values{"MItem"} + Sized(name) + Values{"7", "WString"} + Sized(kind) +
           Values{"8", "WVList", "0", "9", "WVList", "0", "-1", "1", "1", "0"};
}

enum class SwitchLayout { Classic, Newer };
enum class Mode { Debug, Release };

// A switch setting (MVState). The newer layout (version 42) has one more
// value after the mode and none after the switch's value.
inline Values Switch(std::string_view tool, std::string_view identifier, Mode mode,
                     std::string_view value, SwitchLayout layout = SwitchLayout::Classic) {
    const bool newer = layout == SwitchLayout::Newer;
    Values values = Values{"MVState", "15", "WString"} + Sized(tool) + Values{"16", "WString"} +
                    Sized(identifier) + Values{mode == Mode::Debug ? "1" : "0"};
    values = values + (newer ? Values{"0"} : Values{}) + Values{"17", "WString"} + Sized(value);
    return newer ? values : values + Values{"0"};
}

inline Values CState(std::string_view tool, std::string_view identifier) {
    return Values{"MCState", "18", "WString"} + Sized(tool) + Values{"19", "WString"} +
           Sized(identifier) + Values{"1", "0"};
}

// The values, each followed by the ending: a line end, or a NUL byte for the NUL-separated form.
inline std::string RenderLines(const Values& values, std::string_view ending = "\n") {
    std::string text;
    for (const std::string& value : values) {
        text += value;
        text += ending;
    }
    return text;
}

inline std::string RenderNul(const Values& values) {
    return RenderLines(values, std::string_view("\0", 1));
}

// Plain lines, one value each, ended by "\n".
inline std::string Lines(const Values& lines) {
    return RenderLines(lines);
}

// A project file (version 40, CR LF) whose references name the given target files.
inline std::string ProjectFileText(const std::vector<std::string>& targets) {
    Values values = ProjectHeader("40");
    for (const std::string& target : targets) {
        values = values + Reference(target);
    }
    return RenderLines(values, "\r\n");
}

struct TargetLayout {
    std::string code = "nw2en";          // image type
    std::string targetName = "app.exe";  // the first item: the target's name
    std::string includeDirectories;      // release include switch; none when empty
    std::vector<std::string> items;      // source items in order
};

// A target file (version 40, CR LF) of the layout.
inline std::string TargetFileText(const TargetLayout& layout) {
    Values values = TargetHeader("40") + Component(layout.code) + Item(layout.targetName);
    if (!layout.includeDirectories.empty()) {
        values = values + Switch("WCC", "n????Include directories:", Mode::Release,
                                 layout.includeDirectories);
    }
    for (const std::string& item : layout.items) {
        values = values + Item(item);
    }
    return RenderLines(values, "\r\n");
}

}  // namespace projectwriter

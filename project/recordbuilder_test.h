#pragma once

// Test-only: builds target and project files the way the IDE writes them, in
// the line form (any version, any line end) and the NUL-separated form, from
// one list of values, so the same records can be read in every form.

#include <string>
#include <string_view>
#include <vector>

namespace records {

// One value of a file; booleans are written as raw bytes in the NUL form.
struct Value {
    Value(std::string_view value) : text(value) {}
    Value(const char* value) : text(value) {}
    Value(const std::string& value) : text(value) {}
    std::string text;
    bool boolean = false;
};
using Values = std::vector<Value>;

enum class Flag { Off, On };

inline Value Bool(Flag flag) {
    Value value(flag == Flag::On ? "1" : "0");
    value.boolean = true;
    return value;
}

// Values followed by more values.
inline Values operator+(Values values, const Values& more) {
    values.insert(values.end(), more.begin(), more.end());
    return values;
}

// A length prefix followed by the value.
inline Values Sized(std::string_view value) {
    return {std::to_string(value.size()), value};
}

inline Values TargetHeader(std::string_view version) {
    return {version, "targetIdent", "0", "MProject", "1"};
}

inline Values ProjectHeader(std::string_view version) {
    return {version, "projectIdent", "0",     "VpeMain", "1",       "WRect", "0",
            "0",     "7680",         "10240", "2",       "MProject"};
}

// A target reference of a project file: "VComponent", then the reference on
// the 12th line after it.
inline Values Reference(std::string_view targetFile) {
    return Values{"VComponent",    "8", "WRect",    "0", "0", "5712", "4295", Bool(Flag::Off),
                  Bool(Flag::Off), "9", "WFileName"} +
           Sized(targetFile) + Values{"0", "1"};
}

inline Values Component(std::string_view code) {
    return {"MComponent",
            "0",
            "2",
            "WString",
            "4",
            "NEXE",
            "3",
            "WString",
            "5",
            code,
            Bool(Flag::On),
            Bool(Flag::Off),
            Bool(Flag::On)};
}

inline Values Item(std::string_view name, std::string_view kind = "COBJ") {
    return Values{"MItem"} + Sized(name) + Values{"7", "WString"} + Sized(kind) +
           Values{"8", "WVList", "0", "9", "WVList", "0", "-1", "1", Bool(Flag::On), "0"};
}

enum class SwitchLayout { Classic, Newer };
enum class Mode { Debug, Release };

// A switch setting (MVState). The newer layout (version 42) has one more
// value after the mode and none after the switch's value.
inline Values Switch(std::string_view tool, std::string_view identifier, Mode mode,
                     std::string_view value, SwitchLayout layout = SwitchLayout::Classic) {
    const bool newer = layout == SwitchLayout::Newer;
    Values values = Values{"MVState", "15", "WString"} + Sized(tool) + Values{"16", "WString"} +
                    Sized(identifier) + Values{Bool(mode == Mode::Debug ? Flag::On : Flag::Off)};
    if (newer) {
        values = values + Values{Bool(Flag::Off)};
    }
    values = values + Values{"17", "WString"} + Sized(value);
    return newer ? values : values + Values{Bool(Flag::Off)};
}

inline Values CState(std::string_view tool, std::string_view identifier) {
    return Values{"MCState", "18", "WString"} + Sized(tool) + Values{"19", "WString"} +
           Sized(identifier) + Values{Bool(Flag::On), Bool(Flag::Off)};
}

inline std::string RenderLines(const Values& values, std::string_view lineEnd = "\n") {
    std::string text;
    for (const Value& value : values) {
        text += value.text;
        text += lineEnd;
    }
    return text;
}

inline std::string RenderNul(const Values& values) {
    std::string bytes;
    for (const Value& value : values) {
        bytes += value.boolean ? std::string(1, value.text == "1" ? '\x01' : '\0') : value.text;
        bytes += '\0';
    }
    return bytes;
}

// Plain lines, one value each, ended by "\n".
inline std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace records

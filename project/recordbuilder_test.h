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
    std::string text;
    bool boolean = false;
};
using Values = std::vector<Value>;

inline Value Bool(bool on) {
    return {on ? "1" : "0", true};
}

inline void Append(Values& to, const Values& more) {
    to.insert(to.end(), more.begin(), more.end());
}

inline Values TargetHeader(std::string_view version) {
    return {{std::string(version)}, {"targetIdent"}, {"0"}, {"MProject"}, {"1"}};
}

inline Values ProjectHeader(std::string_view version) {
    return {{std::string(version)},
            {"projectIdent"},
            {"0"},
            {"VpeMain"},
            {"1"},
            {"WRect"},
            {"0"},
            {"0"},
            {"7680"},
            {"10240"},
            {"2"},
            {"MProject"}};
}

// A target reference of a project file: "VComponent", then the reference on
// the 12th line after it.
inline Values Reference(std::string_view targetFile) {
    return {{"VComponent"},
            {"8"},
            {"WRect"},
            {"0"},
            {"0"},
            {"5712"},
            {"4295"},
            Bool(false),
            Bool(false),
            {"9"},
            {"WFileName"},
            {std::to_string(targetFile.size())},
            {std::string(targetFile)},
            {"0"},
            {"1"}};
}

inline Values Component(std::string_view code) {
    return {{"MComponent"}, {"0"},       {"2"},       {"WString"}, {"4"},
            {"NEXE"},       {"3"},       {"WString"}, {"5"},       {std::string(code)},
            Bool(true),     Bool(false), Bool(true)};
}

inline Values Item(std::string_view name, std::string_view kind = "COBJ") {
    return {{"MItem"},
            {std::to_string(name.size())},
            {std::string(name)},
            {"7"},
            {"WString"},
            {std::to_string(kind.size())},
            {std::string(kind)},
            {"8"},
            {"WVList"},
            {"0"},
            {"9"},
            {"WVList"},
            {"0"},
            {"-1"},
            {"1"},
            Bool(true),
            {"0"}};
}

enum class SwitchLayout { Classic, Newer };

// A switch setting (MVState). The newer layout (version 42) has one more
// value after the mode and none after the switch's value.
inline Values Switch(std::string_view tool, std::string_view identifier, bool debug,
                     std::string_view value, SwitchLayout layout = SwitchLayout::Classic) {
    Values values = {{"MVState"},
                     {"15"},
                     {"WString"},
                     {std::to_string(tool.size())},
                     {std::string(tool)},
                     {"16"},
                     {"WString"},
                     {std::to_string(identifier.size())},
                     {std::string(identifier)},
                     Bool(debug)};
    if (layout == SwitchLayout::Newer) {
        values.push_back(Bool(false));
    }
    Append(values, {{"17"}, {"WString"}, {std::to_string(value.size())}, {std::string(value)}});
    if (layout == SwitchLayout::Classic) {
        values.push_back(Bool(false));
    }
    return values;
}

inline Values CState(std::string_view tool, std::string_view identifier) {
    return {{"MCState"},
            {"18"},
            {"WString"},
            {std::to_string(tool.size())},
            {std::string(tool)},
            {"19"},
            {"WString"},
            {std::to_string(identifier.size())},
            {std::string(identifier)},
            Bool(true),
            Bool(false)};
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
        if (value.boolean) {
            bytes += value.text == "1" ? '\x01' : '\0';
        } else {
            bytes += value.text;
        }
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

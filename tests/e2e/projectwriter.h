#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes project and target files in the IDE's line form (version 40, CR LF
// line ends), holding exactly the lines the readers look at, so that hostile
// projects of any size can be generated. Header-only: shared by the
// end-to-end tests and the whole-load fuzz target.
namespace projectwriter {

inline void Line(std::string& text, std::string_view line) {
    text.append(line);
    text.append("\r\n");
}

// A project file whose "VComponent" references name the given target files.
inline std::string ProjectFileText(const std::vector<std::string>& targets) {
    std::string text;
    Line(text, "40");
    Line(text, "projectIdent");
    for (const std::string& target : targets) {
        Line(text, "VComponent");
        for (const char* line : {"1", "WRect", "0", "0", "5700", "4280", "0", "0", "2"}) {
            Line(text, line);
        }
        Line(text, "WFileName");
        Line(text, std::to_string(target.size()));
        Line(text, target);
        Line(text, "0");
        Line(text, "1");
    }
    return text;
}

// One source item of a target.
inline void AppendItem(std::string& text, std::string_view name) {
    Line(text, "MItem");
    Line(text, std::to_string(name.size()));
    Line(text, name);
    Line(text, "7");
    Line(text, "WString");
    Line(text, "4");
    Line(text, "COBJ");
}

struct TargetSpec {
    std::string code = "nw2en";          // image type
    std::string targetName = "app.exe";  // the first item: the target's name
    std::string includeDirectories;      // release include switch; none when empty
    std::vector<std::string> items;      // source items in order
};

inline std::string TargetFileText(const TargetSpec& layout) {
    std::string text;
    Line(text, "40");
    Line(text, "targetIdent");
    Line(text, "MComponent");
    for (const char* line : {"0", "2", "WString", "4", "NEXE", "3", "WString", "5"}) {
        Line(text, line);
    }
    Line(text, layout.code);
    AppendItem(text, layout.targetName);
    if (!layout.includeDirectories.empty()) {
        Line(text, "MVState");
        for (const char* line : {"15", "WString", "3", "WCC", "16", "WString", "25",
                                 "n????Include directories:", "0", "17", "WString"}) {
            Line(text, line);
        }
        Line(text, std::to_string(layout.includeDirectories.size()));
        Line(text, layout.includeDirectories);
        Line(text, "0");
    }
    for (const std::string& item : layout.items) {
        AppendItem(text, item);
    }
    return text;
}

}  // namespace projectwriter

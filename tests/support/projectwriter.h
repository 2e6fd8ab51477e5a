#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Writes project and target files in the IDE's line form (version 40, CR LF line ends), holding
// exactly the lines the readers look at, so that hostile projects of any size can be generated.
// Header-only: shared by the end-to-end tests and the whole-load fuzz target.
namespace projectwriter {

inline void Lines(std::string& text, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
}

// A length line followed by the text it counts, as the IDE writes names.
inline void Counted(std::string& text, std::string_view name) {
    Lines(text, {std::to_string(name.size()), name});
}

// A project file whose "VComponent" references name the given target files.
inline std::string ProjectFileText(const std::vector<std::string>& targets) {
    std::string text;
    Lines(text, {"40", "projectIdent"});
    for (const std::string& target : targets) {
        Lines(text,
              {"VComponent", "1", "WRect", "0", "0", "5700", "4280", "0", "0", "2", "WFileName"});
        Counted(text, target);
        Lines(text, {"0", "1"});
    }
    return text;
}

// One source item of a target.
inline void AppendItem(std::string& text, std::string_view name) {
    Lines(text, {"MItem"});
    Counted(text, name);
    Lines(text, {"7", "WString", "4", "COBJ"});
}

struct TargetLayout {
    std::string code = "nw2en";          // image type
    std::string targetName = "app.exe";  // the first item: the target's name
    std::string includeDirectories;      // release include switch; none when empty
    std::vector<std::string> items;      // source items in order
};

inline std::string TargetFileText(const TargetLayout& layout) {
    std::string text;
    Lines(text, {"40", "targetIdent", "MComponent", "0", "2", "WString", "4", "NEXE", "3",
                 "WString", "5", layout.code});
    AppendItem(text, layout.targetName);
    if (!layout.includeDirectories.empty()) {
        Lines(text, {"MVState", "15", "WString", "3", "WCC", "16", "WString", "25",
                     "n????Include directories:", "0", "17", "WString"});
        Counted(text, layout.includeDirectories);
        Lines(text, {"0"});
    }
    for (const std::string& item : layout.items) {
        AppendItem(text, item);
    }
    return text;
}

}  // namespace projectwriter

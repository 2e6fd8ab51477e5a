#include "depscan/includeresolution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "classlib/core/environment.h"
#include "tests/support/environment.h"
#include "tests/support/tempdir.h"

namespace {

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

struct ResolveCase {
    const char* title;
    std::string name;
    char opener;
    std::string list;  // '@' stands for the compiler folder, '*' for the project folder
    std::string expected;
    std::string folder = "";  // the target's folder below the project folder
};

// '@' and '*' replaced; absolute results are spelled with backslashes throughout.
std::string Expanded(std::string_view text, const std::string& compiler, const std::string& project,
                     char slash) {
    std::string expanded = Substituted(text, {{'@', compiler}, {'*', project}});
    std::replace(expanded.begin(), expanded.end(), '/', slash);
    return expanded;
}

TEST(ResolveInclude, SearchesProjectFolderThenTheList) {
    TempDir project;
    TempDir compiler;
    for (const char* file : {"h/stdio.h", "h/nt/windows.h", "h/sys/types.h"}) {
        compiler.Write(file, "");
    }
    for (const char* file :
         {"both.h", "inc/both.h", "inc/only.h", "inc/defs.h", "sub/a.h", "bin/t.h"}) {
        project.Write(file, "");
    }
    const std::string std = "@\\h;@\\h\\nt";
    const std::vector<ResolveCase> cases = {
        {"quoted in the project folder", "both.h", '"', "inc", "both.h"},
        {"quoted falls back to the list", "only.h", '"', "inc", "inc\\only.h"},
        {"angle skips the project folder", "both.h", '<', "inc", "inc\\both.h"},
        {"angle in the second folder", "windows.h", '<', std, "@\\h\\nt\\windows.h"},
        {"forward slashes in the name", "sys/types.h", '<', std, "@\\h\\sys\\types.h"},
        {"dot-backslash piece", "only.h", '<', ".\\inc", "inc\\only.h"},
        {"empty and quoted pieces", "only.h", '<', ";;\"inc\";", "inc\\only.h"},
        {"a quoted list is split again", "windows.h", '<', "\"@/h;@/h/nt;inc\"",
         "@\\h\\nt\\windows.h"},
        {"a folder last in a quoted list", "only.h", '<', "\"x;inc\"", "inc\\only.h"},
        {"a folder first in a quoted list", "only.h", '<', "\"inc;;x\"", "inc\\only.h"},
        {"case differs on disk", "Inc\\Defs.H", '"', "", "Inc\\Defs.H"},
        {"absolute quoted name stays absolute", "*/inc/only.h", '"', "", "*/inc/only.h"},
        {"absolute angle name", "*/inc/only.h", '<', "", ""},
        {"not found", "gone.h", '"', std, ""},
        {"folder counts as found", "inc", '"', "", "inc"},
        {"a name only next to its file is not found here", "a.h", '"', "", ""},
        {"quoted beside a target file in a sub-folder", "t.h", '"', "inc", "t.h", "bin/"},
        {"parent piece from a sub-folder kept", "only.h", '<', "..\\inc", "..\\inc\\only.h",
         "bin/"},
    };
    NativeHostFs fs;
    for (const ResolveCase& c : cases) {
        SCOPED_TRACE(c.title);
        const std::string& w = compiler.path();
        const std::string& p = project.path();
        EXPECT_EQ(ResolveInclude(WString(p + "/" + c.folder), WString(Expanded(c.name, w, p, '/')),
                                 WString(Expanded(c.list, w, p, '\\')), c.opener, fs)
                      .Str(),
                  Expanded(c.expected, w, p, '\\'));
    }
    const std::string folder = project.path() + "/";
    EXPECT_EQ(ResolveNextToFile(folder, "sub\\deep\\", "..\\a.h", fs), "sub\\a.h");
    EXPECT_EQ(ResolveNextToFile(folder, "inc\\", "a.h", fs), "");
}

// A resource line's file: in the target folder (here win\) first, then beside its script.
TEST(ResolveResourceFile, TargetFolderFirstThenBesideTheScript) {
    TempDir dir;
    for (const char* file :
         {"win/app.ico", "win/res/x.ico", "up.ico", "left.bmp", "src/app.ico", "src/sub.bmp"}) {
        dir.Write(file, "");
    }
    const std::string folder = dir.Join("win/");
    const struct {
        const char* title;
        const char* scriptFolder;
        std::string piece;
        const char* expected;
    } rows[] = {
        {"in the target folder", "", "app.ico", "app.ico"},
        {"the target folder first", "..\\src\\", "app.ico", "app.ico"},
        {"cleaned, a folder counts", "", "./res", "res"},
        {"reaching up from the target folder", "", "..\\up.ico", "..\\up.ico"},
        {"absolute, inside the target folder", "", folder + "app.ico", "app.ico"},
        {"beside the script", "..\\", "left.bmp", "..\\left.bmp"},
        {"beside the script, cleaned after joining", "..\\src\\deep\\", "../sub.bmp",
         "..\\src\\sub.bmp"},
        {"in neither", "..\\src\\", "gone.bmp", ""},
    };
    NativeHostFs fs;
    for (const auto& row : rows) {
        EXPECT_EQ(ResolveResourceFile(folder, row.scriptFolder, row.piece, fs), row.expected)
            << row.title;
    }
}

// Decided on the file's place, by whole components: a short WATCOM such as "/d" must not leave
// out src\draw\*.h, nor "/" the whole project. Of the compiler folder and a target's or the
// project's folder holding the file, the deeper decides: the compiler's sample projects keep
// their headers, a compiler folder kept inside a project hides its own.
TEST(CompilerFolderExclusion, MatchesThePlaceByWholeComponentsWithCase) {
    const struct {
        const char* path;
        const char* compilerFolder;
        bool excluded;
        const char* targetFolder = "/p/";
        const char* projectFolder = "/p/";
    } rows[] = {
        {"a.h", "/w", false, "/w/samples/p/", "/w/samples/p/"},
        {"h\\a.h", "/w/samples/p", false, "/w/samples/p/", "/w/samples/p/"},
        {"..\\inc\\a.h", "/w", false, "/w/samples/p/bin/", "/w/samples/p/"},
        {"..\\..\\h\\stdio.h", "/w", true, "/w/samples/p/", "/w/samples/p/"},
        {"/w/h/stdio.h", "/w", true, "/w/samples/p/bin/", "/w/samples/p/"},
        {"C:\\WATCOM\\h\\stdio.h", "C:\\WATCOM", true},
        {"C:\\watcom\\h\\stdio.h", "C:\\WATCOM", false},
        {"\\opt\\watcom\\h\\stdio.h", "/opt/watcom/", true},
        {"/opt/watcomx/h/stdio.h", "/opt/watcom", false},
        {"src\\draw\\shapes.h", "/d", false},
        {"/d/h/stdio.h", "/d", true},
        {"src\\draw\\shapes.h", "/", false},
        {"watcom\\h\\stdio.h", "/p/watcom", true},  // relative: taken in the project folder
        {"..\\p\\watcom\\h\\stdio.h", "/p/./watcom", true},
        {"/opt/watcom", "/opt/watcom", false},
        {"anything", "", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(
            IsInCompilerFolder(row.path, row.compilerFolder, row.targetFolder, row.projectFolder),
            row.excluded)
            << row.path << " in " << row.compilerFolder;
    }
}

struct ListCase {
    const char* title;
    std::string defaults;       // the text after "Default Include directories"
    std::string releaseSwitch;  // when not empty, a "Release Switches" group holds it
    std::string compilerFolder;
    std::string expected;  // "<none>": no list read
};

// The list is read from the target's nodes before its "Dependency Filelist".
TEST(IncludeDirectories, ReadsTheNodeBeforeTheSources) {
    const std::optional<std::string> watcom = EnvironmentValue("WATCOM");
    SetEnvironment("WATCOM", "/env");
    SetEnvironment("TAMSK_T_ZLIB", "/z");
    SetEnvironment("TAMSK_T_EMPTY", "");
    UnsetEnvironment("TAMSK_T_UNSET");
    const std::vector<ListCase> cases = {
        {"default list", ": $(%watcom)\\h;$(%watcom)\\h\\nt", "", "C:\\W", "C:\\W\\h;C:\\W\\h\\nt"},
        {"first release switch", ": $(%watcom)\\h", "(wcc) Include directories: i;$(%watcom)\\h",
         "/w", "i;/w\\h"},
        {"WATCOM unset expands to nothing", ": $(%watcom)\\h", "", "", "\\h"},
        {"other names from the environment", ": $(%TAMSK_T_ZLIB)\\h;$(%watcom);$(%WATCOM)", "",
         "/w", "/z\\h;/w;/env"},
        {"unset names stay as written", ": $(%TAMSK_T_UNSET)\\h;$(%);$(%a", "", "",
         "$(%TAMSK_T_UNSET)\\h;$(%);$(%a"},
        {"a macro start inside a name", ": $(%x$(%watcom)", "", "/w", "$(%x/w"},
        {"names found without regard to case on Windows only", ": $(%tamsk_t_zlib)", "", "",
         kWindows ? "/z" : "$(%tamsk_t_zlib)"},
        // Windows keeps no variable with an empty value.
        {"an empty value is set", ": $(%TAMSK_T_EMPTY)\\h", "", "",
         kWindows ? "$(%TAMSK_T_EMPTY)\\h" : "\\h"},
        {"blanks after the colon skipped", ":    a; b", "", "", "a; b"},
        {"no colon", "", "", "", "<none>"},
    };
    for (const ListCase& c : cases) {
        const WTreePosition last = WTreePosition::Last();
        WTreeStore tree;
        const WTreeItem target = tree.Add("Target: t", kNoItem, 1, 1, last);
        tree.Add("Default Include directories" + c.defaults, target, 2, 2, last);
        if (!c.releaseSwitch.empty()) {
            const WTreeItem group = tree.Add("Release Switches", target, 1, 1, last);
            tree.Add(c.releaseSwitch, group, 2, 2, last);
            tree.Add("(wpp) Include directories: x", group, 2, 2, last);
        }
        const WTreeItem sources = tree.Add("Dependency Filelist", target, 1, 1, last);
        WString list("<none>");
        IncludeDirectories(tree, tree.Add("a.c", sources, 2, 2, last), list,
                           WString(c.compilerFolder));
        EXPECT_EQ(list.Str(), c.expected) << c.title;
    }
    watcom ? SetEnvironment("WATCOM", *watcom) : UnsetEnvironment("WATCOM");
}

}  // namespace

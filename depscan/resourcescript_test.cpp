#include "depscan/resourcescript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

struct LineCase {
    const char* title;
    std::string line;
    std::string expected;
};

// A line names a file by the third of exactly three pieces, found from the folder.
TEST(ResourceLineFile, NamesAFileByTheThirdOfThreePieces) {
    TempDir dir;
    dir.Write("proj/res/app.ico", "i");
    dir.Write("proj/main.ico", "i");
    dir.Write("up.ico", "i");
    const std::string folder = dir.Join("proj/");
    const std::vector<LineCase> cases = {
        {"three pieces", "1 ICON res\\app.ico", "res\\app.ico"},
        {"quoted, with blanks", "APP  ICON  \"res/app.ico\"\r", "res\\app.ico"},
        {"single quotes", "APP ICON 'main.ico'", "main.ico"},
        {"reaching up from the folder", "APP ICON ..\\up.ico", "..\\up.ico"},
        {"comma anywhere", "APP ICON main.ico,", ""},
        {"two pieces", "ICON main.ico", ""},
        {"four pieces", "APP ICON DISCARDABLE main.ico", ""},
        {"first piece begins with #", "#x ICON main.ico", ""},
        {"missing file", "APP ICON gone.ico", ""},
        {"folder counts", "APP ICON res", "res"},
        {"absolute piece inside the folder", "APP ICON " + folder + "main.ico", "main.ico"},
        {"absolute piece outside the folder", "APP ICON " + dir.Join("up.ico"), ""},
    };
    NativeHostFs fs;
    for (const LineCase& c : cases) {
        EXPECT_EQ(ResourceLineFile(c.line, folder, fs), c.expected) << c.title;
    }
}

// One pass finds includes and lines in file order; comments are removed first, a tab reads as a
// blank (also inside quotes), and the last line needs no newline.
TEST(ResourceScriptReader, FindsIncludesAndLinesInFileOrder) {
    TempDir dir;
    dir.Write("main.ico", "i");
    dir.Write("my main.ico", "i");
    NativeHostFs fs;
    WCInclude scanner(fs, dir.path());
    scanner.OpenText(
        "#include \"ver.h\"\r\nAPP ICON main.ico // the icon\r\n#include <windows.h>\r\n"
        "A B #include <x.h>\r\nTAB ICON \"my\tmain.ico\"\r\nBMP BITMAP main.ico");
    ResourceScriptReader reader(scanner, dir.path() + "/", fs);
    std::vector<std::string> found;
    for (ScriptReference reference; reader.Next(reference);) {
        const bool include = reference.kind == ScriptReference::Kind::Include;
        found.push_back((include ? "I:" : "R:") + reference.name);
    }
    EXPECT_EQ(found, (std::vector<std::string>{"I:ver.h", "R:main.ico", "I:windows.h", "I:x.h",
                                               "R:my main.ico", "R:main.ico"}));
}

}  // namespace

#include "depscan/resourcescript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The file-name piece of a line, before it is looked for.
TEST(ResourceLinePiece, ThirdOfThreePiecesOrLastAfterLoadOptions) {
    const struct {
        const char* title;
        const char* line;
        const char* piece;
    } rows[] = {
        {"three pieces", "1 ICON res\\app.ico", "res\\app.ico"},
        {"quoted, with blanks", "APP  ICON  \"res/my app.ico\"\r", "res/my app.ico"},
        {"single quotes", "APP ICON 'main.ico'", "main.ico"},
        {"comma anywhere", "APP ICON main.ico,", ""},
        {"blanks of every kind, none quoted", "\t1\t ICON\r\nres\\app.ico \r", "res\\app.ico"},
        {"two pieces", "ICON main.ico", ""},
        {"two pieces, one quoted", "ICON \"main.ico\"", ""},
        {"first piece begins with #", "#x ICON main.ico", ""},
        {"load option", "IDI_MAINICON ICON DISCARDABLE \"noter16.ico\"", "noter16.ico"},
        {"load options in any case", "B BITMAP moveable PURE Preload LOADONCALL x.bmp", "x.bmp"},
        {"every one a load option", "B BITMAP FIXED IMPURE x.bmp", "x.bmp"},
        {"a middle piece that is none", "APP ICON DISCARDABLE BIG main.ico", ""},
        {"#, also with load options", "#x ICON PURE main.ico", ""},
        {"doubled backslashes", "B BITMAP \"..\\\\..\\\\LEFT.BMP\"", "..\\..\\LEFT.BMP"},
        {"pairs from the left", "B BITMAP a\\\\\\b.bmp", "a\\\\b.bmp"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ResourceLinePiece(row.line), row.piece) << row.title;
    }
}

// One pass finds includes and lines in file order, whether their files exist or not; comments are
// removed first, a tab reads as a blank (also inside quotes), and the last line needs no newline.
TEST(ResourceScriptReader, FindsIncludesAndLinesInFileOrder) {
    NativeHostFs fs;
    WCInclude scanner(fs, "");
    scanner.OpenText(
        "#include \"ver.h\"\r\nAPP ICON main.ico // the icon\r\n#include <windows.h>\r\n"
        "A B #include <x.h>\r\nTAB ICON \"my\tmain.ico\"\r\nBMP BITMAP main.ico");
    ResourceScriptReader reader(scanner);
    std::vector<std::string> found;
    for (ScriptReference reference; reader.Next(reference);) {
        const bool include = reference.kind == ScriptReference::Kind::Include;
        found.push_back((include ? "I:" : "R:") + reference.name);
    }
    EXPECT_EQ(found, (std::vector<std::string>{"I:ver.h", "R:main.ico", "I:windows.h", "I:x.h",
                                               "R:my main.ico", "R:main.ico"}));
}

}  // namespace

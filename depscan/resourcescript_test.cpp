#include "depscan/resourcescript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

class ResourceLines : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.Write("res/app.ico", "i");
        dir_.Write("main.ico", "i");
        dir_.Write("inc/ver.h", "v");
        folder_ = dir_.path() + "/";
    }

    // Every file NextResourceFile finds in text.
    std::vector<std::string> LinesOf(const std::string& text) {
        WCInclude scanner(fs_, folder_);
        scanner.OpenText(text);
        std::vector<std::string> found;
        WString file;
        while (scanner.NextResourceFile(WString(folder_), file)) {
            found.push_back(file.Str());
        }
        return found;
    }

    // Everything the one-pass reader finds, as "I:" include or "R:" resource line.
    std::vector<std::string> ScriptOf(const std::string& text) {
        WCInclude scanner(fs_, folder_);
        scanner.OpenText(text);
        ResourceScriptReader reader(scanner, folder_, fs_);
        std::vector<std::string> found;
        ScriptReference reference;
        while (reader.Next(reference)) {
            const bool include = reference.kind == ScriptReference::Kind::Include;
            found.push_back((include ? "I:" : "R:") + reference.name);
        }
        return found;
    }

    TempDir dir_;
    NativeHostFs fs_;
    std::string folder_;
};

struct LineCase {
    const char* title;
    std::string input;
    std::vector<std::string> expected;
};

TEST_F(ResourceLines, NameAFileByTheThirdOfThreePieces) {
    const std::vector<LineCase> cases = {
        {"three pieces", "1 ICON res\\app.ico\n", {"res\\app.ico"}},
        {"quoted, with tabs", "APP\tICON\t\"res/app.ico\"\r\n", {"res\\app.ico"}},
        {"single quotes", "APP ICON 'main.ico'", {"main.ico"}},
        {"comma anywhere", "APP ICON main.ico,\n", {}},
        {"two pieces", "ICON main.ico\n", {}},
        {"four pieces", "APP ICON DISCARDABLE main.ico\n", {}},
        {"first piece begins with #", "#x ICON main.ico\n", {}},
        {"missing file", "APP ICON gone.ico\n", {}},
        {"comment removed first", "APP ICON main.ico // the icon\n", {"main.ico"}},
        {"last line without newline", "\nAPP ICON main.ico", {"main.ico"}},
        {"folder counts", "APP ICON res\n", {"res"}},
        {"absolute piece is joined too", "APP ICON " + folder_ + "main.ico\n", {"main.ico"}},
        {"absolute piece outside the folder", "APP ICON /etc/hostname\n", {}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(LinesOf(c.input), c.expected) << c.title;
    }
}

// An include completes at its closing quote, a resource line at its end.
TEST_F(ResourceLines, OnePassFindsIncludesAndLinesInFileOrder) {
    const std::vector<LineCase> cases = {
        {"mixed, include last",
         "#include \"inc/ver.h\"\r\nAPP ICON main.ico\r\n#include <windows.h>\r\n"
         "BMP BITMAP \"res/app.ico\"\r\n#include \"ver2.h\"\r\n",
         {"I:inc/ver.h", "R:main.ico", "I:windows.h", "R:res\\app.ico", "I:ver2.h"}},
        {"include at the end of a line", "A B #include <x.h>", {"I:x.h"}},
        {"include at the start of a line", "#include <x.h> main.ico", {"I:x.h"}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(ScriptOf(c.input), c.expected) << c.title;
    }
}

}  // namespace

#include "depscan/wcinclude.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

struct TextCase {
    const char* title;
    std::string input;
    std::string expected;
};

struct FoundCase {
    const char* title;
    std::string input;
    std::vector<std::string> expected;
};

TEST(WCIncludeNextChar, RemovesCommentsOutsideLiteralsAndFollowsTextMode) {
    const std::vector<TextCase> cases = {
        {"line comment keeps its newline", "a//x\nb", "a\nb"},
        {"line comment at the end", "a//x", "a"},
        {"block comment yields nothing", "a/*x*/b", "ab"},
        {"opening star does not close", "a/*/x*/b", "ab"},
        {"unclosed block comment ends the file", "a/*x", "a"},
        {"lone slashes stay", "a/b/", "a/b/"},
        {"string keeps //", "\"s//x\"y", "\"s//x\"y"},
        {"string keeps /*", "\"src/*.c\"/*c*/z", "\"src/*.c\"z"},
        {"escaped quote does not end the string", "\"a\\\"/*\"/*c*/", "\"a\\\"/*\""},
        {"escaped newline continues the string", "\"a\\\n//x\"b", "\"a\\\n//x\"b"},
        {"unclosed string ends with its line", "\"a\n//x\nb", "\"a\n\nb"},
        {"character literal", "'\"'//x\ny", "'\"'\ny"},
        {"slash in character literal", "'/'/*x*/'*'", "'/''*'"},
        {"comment before a literal", "/*\"*/a//\"\nb", "a\nb"},
        {"carriage returns dropped", "a\r\nb\rc", "a\nbc"},
        {"0x1A ends the file",
         "ab\x1A"
         "cd",
         "ab"},
        {"carriage return gone before the pair is seen", "a/\r/b\nc", "a\nc"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.title);
        NativeHostFs fs;
        WCInclude scanner(fs, "");
        scanner.OpenText(c.input);
        std::string result;
        for (int ch = scanner.NextChar(); ch != -1; ch = scanner.NextChar()) {
            result += static_cast<char>(ch);
        }
        EXPECT_EQ(result, c.expected);
    }
}

TEST(WCIncludeNextInclude, FollowsTheStateMachine) {
    const std::vector<FoundCase> cases = {
        {"both openers", "#include \"a.h\"\n#include <b.h>\n", {"\"a.h", "<b.h"}},
        {"blanks after the hash", "#  \t include \"a.h\"", {"\"a.h"}},
        {"no blank before the opener", "#include<a.h>", {"<a.h"}},
        {"capital I", "#Include \"a.h\"", {}},
        {"blank inside the word", "#inc lude \"a.h\"", {}},
        {"other directive", "#define X \"a.h\"", {}},
        {"blank in the name", "#include \"a b.h\"", {}},
        {"hash restarts inside a name", "#include \"a#include \"b.h\"", {"\"b.h"}},
        {"angle closed by a quote", "#include <a.h\"", {"<a.h"}},
        {"quote closed by angle", "#include \"a.h>\n#include \"b.h\"", {"\"b.h"}},
        {"empty name", "#include \"\"", {"\""}},
        {"newline joins the name", "#include \"a\nb\"", {"\"a\nb"}},
        {"unfinished at the end", "#include \"a.h", {}},
        {"inside a block comment", "/* #include \"a.h\" */", {}},
        {"inside a line comment", "// #include \"a.h\"\n", {}},
        {"comment between word and opener", "#include/*x*/\"a.h\"", {"\"a.h"}},
        {"after a literal holding /*", "x = \"src/*.c\";\n#include \"a.h\"", {"\"a.h"}},
        {"slashes inside the quoted name", "#include \"a//b.h\"", {"\"a//b.h"}},
    };
    for (const FoundCase& c : cases) {
        SCOPED_TRACE(c.title);
        NativeHostFs fs;
        WCInclude scanner(fs, "");
        scanner.OpenText(c.input);
        std::vector<std::string> found;
        WString name;
        char opener = 0;
        while (scanner.NextInclude(name, opener)) {
            found.push_back(std::string(1, opener) + name.Str());
        }
        EXPECT_EQ(found, c.expected);
    }
}

TEST(WCIncludeNextStringLiteral, ReportsLiteralsNamingExistingFiles) {
    TempDir dir;
    dir.Write("data/x.txt", "x");
    const std::vector<FoundCase> cases = {
        {"backslashed, escape kept as one", "f(\"DATA\\\\X.TXT\");", {"DATA\\X.TXT"}},
        {"existing folder", "f(\"data\");", {"data"}},
        {"missing, then empty, then existing",
         "f(\"no.c\", \"\", \"data/x.txt\");",
         {"", "", "data/x.txt"}},
        {"after a hash on its line", "#include \"data/x.txt\"\nf(\"data/x.txt\");", {"data/x.txt"}},
        {"escaped quote stays in", "f(\"a\\\"b\");", {""}},
        {"unclosed at the end still examined", "f(\"data/x.txt", {"data/x.txt"}},
        {"slashes inside keep the line", "f(\"a//b\", \"data/x.txt\");", {"", "data/x.txt"}},
    };
    for (const FoundCase& c : cases) {
        SCOPED_TRACE(c.title);
        NativeHostFs fs;
        WCInclude scanner(fs, dir.path() + "/");
        scanner.OpenText(c.input);
        std::vector<std::string> found;
        WString literal;
        while (scanner.NextStringLiteral(literal)) {
            found.push_back(literal.Str());
        }
        EXPECT_EQ(found, c.expected);
    }
}

TEST(WCIncludePosition, RestoreReturnsToTheSavedPlace) {
    NativeHostFs fs;
    WCInclude scanner(fs, "");
    scanner.OpenText("#include \"a.h\"\n#include \"b.h\"\n");
    WString name;
    char opener = 0;
    ASSERT_EQ(scanner.NextInclude(name, opener), true);
    scanner.SavePosition();
    ASSERT_EQ(scanner.NextInclude(name, opener), true);
    scanner.RestorePosition();
    ASSERT_EQ(scanner.NextInclude(name, opener), true);
    EXPECT_EQ(name.Str(), "b.h");
    EXPECT_EQ(scanner.NextInclude(name, opener), false);
}

}  // namespace

#include "depscan/wcinclude.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

// Everything NextChar gives for text, as a string.
std::string CharactersOf(const std::string& text) {
    HostFs fs;
    WCInclude scanner(fs, "");
    scanner.OpenText(text);
    std::string result;
    for (int c = scanner.NextChar(); c != -1; c = scanner.NextChar()) {
        result += static_cast<char>(c);
    }
    return result;
}

// Every include NextInclude finds in text, each as opener + name.
std::vector<std::string> IncludesOf(const std::string& text) {
    HostFs fs;
    WCInclude scanner(fs, "");
    scanner.OpenText(text);
    std::vector<std::string> found;
    WString name;
    char opener = 0;
    while (scanner.NextInclude(name, opener)) {
        found.push_back(std::string(1, opener) + name.Str());
    }
    return found;
}

struct CharCase {
    const char* title;
    std::string input;
    std::string expected;
};

TEST(WCIncludeNextChar, RemovesCommentsOutsideLiteralsOnly) {
    const std::vector<CharCase> cases = {
        {"line comment keeps its newline", "a//x\nb", "a\nb"},
        {"line comment at the end", "a//x", "a"},
        {"block comment yields nothing", "a/*x*/b", "ab"},
        {"opening star does not close", "a/*/x*/b", "ab"},
        {"unclosed block comment ends the file", "a/*x", "a"},
        {"lone slash stays", "a/b", "a/b"},
        {"slash before the end", "a/", "a/"},
        {"double stars", "a/**/b", "ab"},
        {"string keeps //", "\"s//x\"y", "\"s//x\"y"},
        {"string keeps /*", "\"src/*.c\"/*c*/z", "\"src/*.c\"z"},
        {"escaped quote does not end the string", "\"a\\\"/*\"/*c*/", "\"a\\\"/*\""},
        {"escaped newline continues the string", "\"a\\\n//x\"b", "\"a\\\n//x\"b"},
        {"unclosed string ends with its line", "\"a\n//x\nb", "\"a\n\nb"},
        {"character literal", "'\"'//x\ny", "'\"'\ny"},
        {"slash in character literal", "'/'/*x*/'*'", "'/''*'"},
        {"comment before a literal", "/*\"*/a//\"\nb", "a\nb"},
    };
    for (const CharCase& c : cases) {
        EXPECT_EQ(CharactersOf(c.input), c.expected) << c.title;
    }
}

TEST(WCIncludeNextChar, FollowsTextModeRules) {
    EXPECT_EQ(CharactersOf("a\r\nb\rc"), "a\nbc");
    EXPECT_EQ(CharactersOf(std::string("ab\x1A"
                                       "cd")),
              "ab");
    EXPECT_EQ(CharactersOf("a/\r/b\nc"),
              "a\nc");  // the carriage return is gone before the pair is seen
}

struct IncludeCase {
    const char* title;
    std::string input;
    std::vector<std::string> expected;
};

TEST(WCIncludeNextInclude, FollowsTheStateMachine) {
    const std::vector<IncludeCase> cases = {
        {"quoted", "#include \"a.h\"\n", {"\"a.h"}},
        {"angle", "#include <a.h>\n", {"<a.h"}},
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
        {"several", "#include \"a.h\"\n#include <b.h>\n", {"\"a.h", "<b.h"}},
    };
    for (const IncludeCase& c : cases) {
        EXPECT_EQ(IncludesOf(c.input), c.expected) << c.title;
    }
}

TEST(WCIncludeNextInclude, FalseWithoutAnOpenFile) {
    HostFs fs;
    WCInclude scanner(fs, "");
    WString name;
    char opener = 0;
    EXPECT_EQ(scanner.NextInclude(name, opener), false);
}

// Every result of NextStringLiteral, empty ones included.
std::vector<std::string> LiteralsOf(const TempDir& dir, const std::string& text) {
    HostFs fs;
    WCInclude scanner(fs, dir.path() + "/");
    scanner.OpenText(text);
    std::vector<std::string> found;
    WString literal;
    while (scanner.NextStringLiteral(literal)) {
        found.push_back(literal.Str());
    }
    return found;
}

TEST(WCIncludeNextStringLiteral, ReportsLiteralsNamingExistingFiles) {
    TempDir dir;
    dir.Write("data/x.txt", "x");
    dir.Write("a b.txt", "x");
    const std::vector<IncludeCase> cases = {
        {"existing file", "f(\"data/x.txt\");", {"data/x.txt"}},
        {"backslashed, escape kept as one", "f(\"DATA\\\\X.TXT\");", {"DATA\\X.TXT"}},
        {"existing folder", "f(\"data\");", {"data"}},
        {"missing file gives empty", "f(\"nope.txt\");", {""}},
        {"empty literal, later ones still found", "f(\"\", \"data/x.txt\");", {"", "data/x.txt"}},
        {"after a hash on its line", "#include \"data/x.txt\"\nf(\"data/x.txt\");", {"data/x.txt"}},
        {"blank inside", "f(\"a b.txt\");", {"a b.txt"}},
        {"escaped quote stays in", "f(\"a\\\"b\");", {""}},
        {"unclosed at the end still examined", "f(\"data/x.txt", {"data/x.txt"}},
        {"slashes inside keep the line", "f(\"a//b\", \"data/x.txt\");", {"", "data/x.txt"}},
    };
    for (const IncludeCase& c : cases) {
        EXPECT_EQ(LiteralsOf(dir, c.input), c.expected) << c.title;
    }
}

TEST(WCIncludeOpen, ReadsRegularFilesOnly) {
    TempDir dir;
    const std::string file = dir.Write("a.c", "#include \"b.h\"\r\n");
    const std::string fifo = dir.Join("pipe.c");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    HostFs fs;
    WCInclude scanner(fs, dir.path() + "/");
    EXPECT_EQ(scanner.Open(fifo), false);
    EXPECT_EQ(scanner.Open(dir.path()), false);
    EXPECT_EQ(scanner.Open(dir.Join("missing.c")), false);
    ASSERT_EQ(scanner.Open(file), true);
    WString name;
    char opener = 0;
    EXPECT_EQ(scanner.NextInclude(name, opener), true);
    EXPECT_EQ(name.Str(), "b.h");
}

TEST(WCIncludePosition, RestoreReturnsToTheSavedPlace) {
    HostFs fs;
    WCInclude scanner(fs, "");
    scanner.OpenText("#include \"a.h\"\n#include \"b.h\"\n");
    WString name;
    char opener = 0;
    ASSERT_EQ(scanner.NextInclude(name, opener), true);
    scanner.SavePosition();
    ASSERT_EQ(scanner.NextInclude(name, opener), true);
    EXPECT_EQ(name.Str(), "b.h");
    scanner.RestorePosition();
    ASSERT_EQ(scanner.NextInclude(name, opener), true);
    EXPECT_EQ(name.Str(), "b.h");
}

}  // namespace

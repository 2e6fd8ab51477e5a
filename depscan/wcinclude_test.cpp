#include "depscan/wcinclude.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

enum class Op { Chars, Includes, Literals };

// What one operation finds in input: the characters as they come, or each
// include (opener and name) or literal followed by '|'.
std::string Scan(Op op, const std::string& input, const std::string& folder = "") {
    NativeHostFs fs;
    WCInclude scanner(fs, folder);
    scanner.OpenText(input);
    std::string found;
    WString text;
    char opener = 0;
    for (int ch; op == Op::Chars && (ch = scanner.NextChar()) != -1;) {
        found += static_cast<char>(ch);
    }
    while (op == Op::Includes && scanner.NextInclude(text, opener)) {
        found += opener + text.Str() + "|";
    }
    while (op == Op::Literals && scanner.NextStringLiteral(text)) {
        found += text.Str() + "|";
    }
    return found;
}

struct ScanCase {
    const char* title;
    std::string input;
    std::string expected;
};

TEST(WCIncludeNextChar, RemovesCommentsOutsideLiteralsAndFollowsTextMode) {
    const std::vector<ScanCase> cases = {
        {"line comments keep their newline", "a//x\nb//y", "a\nb"},
        {"block comments yield nothing; the opening star does not close", "a/*x*/b/*/y*/c", "abc"},
        {"unclosed block comment ends the file", "a/*x", "a"},
        {"lone slashes stay", "a/b/", "a/b/"},
        {"strings keep // and /*", "\"s//x/*\"/*c*/y", "\"s//x/*\"y"},
        {"escaped quote does not end the string", "\"a\\\"/*\"/*c*/", "\"a\\\"/*\""},
        {"escaped newline continues the string", "\"a\\\n//x\"b", "\"a\\\n//x\"b"},
        {"unclosed string ends with its line", "\"a\n//x\nb", "\"a\n\nb"},
        {"character literals alike", "'\"'//x\n'/'/*x*/'*'", "'\"'\n'/''*'"},
        {"comment before a literal", "/*\"*/a//\"\nb", "a\nb"},
        {"carriage returns dropped, also inside //", "a\r\nb\rc/\r/d\ne", "a\nbc\ne"},
        {"0x1A ends the file", "ab\032cd", "ab"},
    };
    for (const ScanCase& c : cases) {
        EXPECT_EQ(Scan(Op::Chars, c.input), c.expected) << c.title;
    }
}

TEST(WCIncludeNextInclude, FollowsTheStateMachine) {
    const std::vector<ScanCase> cases = {
        {"both openers", "#include \"a.h\"\n#include <b.h>\n", "\"a.h|<b.h|"},
        {"blanks after the hash", "#  \t include \"a.h\"", "\"a.h|"},
        {"no blank before the opener", "#include<a.h>", "<a.h|"},
        {"capital I, blank inside the word, other directive",
         "#Include \"a.h\"\n#inc lude \"b.h\"\n#define X \"c.h\"", ""},
        {"blank in the name", "#include \"a b.h\"", ""},
        {"hash restarts inside a name", "#include \"a#include \"b.h\"", "\"b.h|"},
        {"angle closed by a quote", "#include <a.h\"", "<a.h|"},
        {"quote closed by angle", "#include \"a.h>\n#include \"b.h\"", "\"b.h|"},
        {"empty name", "#include \"\"", "\"|"},
        {"newline joins the name", "#include \"a\nb\"", "\"a\nb|"},
        {"unfinished at the end", "#include \"a.h", ""},
        {"inside comments", "/* #include \"a.h\" */// #include \"b.h\"\n", ""},
        {"comment between word and opener", "#include/*x*/\"a.h\"", "\"a.h|"},
        {"after a literal holding /*", "x = \"src/*.c\";\n#include \"a.h\"", "\"a.h|"},
        {"slashes inside the quoted name", "#include \"a//b.h\"", "\"a//b.h|"},
    };
    for (const ScanCase& c : cases) {
        EXPECT_EQ(Scan(Op::Includes, c.input), c.expected) << c.title;
    }
}

// Literals are tested against the folder of the target being scanned.
TEST(WCIncludeNextStringLiteral, ReportsLiteralsNamingExistingRegularFiles) {
    TempDir dir;
    dir.Write("data/x.txt", "x");
    dir.MakeFolder("bin");
    const std::vector<ScanCase> cases = {
        {"backslashed, escape kept as one", "f(\"..\\\\DATA\\\\X.TXT\");", "..\\DATA\\X.TXT|"},
        {"folders are not files", "f(\"../data\", \"/\", \"..\", \".\");", "||||"},
        {"missing, then empty, then existing", "f(\"no.c\", \"\", \"../data/x.txt\");",
         "||../data/x.txt|"},
        {"after a hash on its line", "#include \"../data/x.txt\"\nf(\"../data/x.txt\");",
         "../data/x.txt|"},
        {"escaped quote stays in", "f(\"a\\\"b\");", "|"},
        {"unclosed at the end still examined", "f(\"../data/x.txt", "../data/x.txt|"},
        {"slashes inside keep the line", "f(\"a//b\", \"../data/x.txt\");", "|../data/x.txt|"},
    };
    for (const ScanCase& c : cases) {
        EXPECT_EQ(Scan(Op::Literals, c.input, dir.Join("bin/")), c.expected) << c.title;
    }
}

TEST(WCIncludePosition, RestoreReturnsToTheSavedPlace) {
    NativeHostFs fs;
    WCInclude scanner(fs, "");
    scanner.OpenText("#include \"a.h\"\n#include \"b.h\"\n");
    WString name;
    char opener = 0;
    scanner.NextInclude(name, opener);
    scanner.SavePosition();
    scanner.NextInclude(name, opener);
    scanner.RestorePosition();
    EXPECT_EQ(scanner.NextInclude(name, opener), true);
    EXPECT_EQ(name.Str(), "b.h");
    EXPECT_EQ(scanner.NextInclude(name, opener), false);
}

}  // namespace

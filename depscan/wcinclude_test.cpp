#include "depscan/wcinclude.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/tempdir.h"

namespace {

enum class Op { Chars, Includes, Literals };

// What one operation finds in input: the characters as they come, or each
// include (opener and name) or literal followed by '|'.
std::string Scan(Op op, const std::string& input, const std::string& folder) {
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

// What the one reading of includes and literals gives for op: the includes, or
// the literals that name files (the empty ones of Scan left out).
std::string ScanInOneReading(Op op, const std::string& input, const std::string& folder) {
    NativeHostFs fs;
    WCInclude scanner(fs, folder);
    scanner.OpenText(input);
    std::string includes;
    std::string literals;
    scanner.FindIncludesAndLiterals(
        [&](const std::string& name, char opener) { includes += opener + name + "|"; },
        [&](const std::string& literal) { literals += literal + "|"; });
    return op == Op::Includes ? includes : literals;
}

std::string WithoutEmptyEntries(const std::string& found) {
    std::string kept;
    std::size_t start = 0;
    for (std::size_t bar = found.find('|'); bar != std::string::npos;
         start = bar + 1, bar = found.find('|', start)) {
        if (bar > start) {
            kept += found.substr(start, bar + 1 - start);
        }
    }
    return kept;
}

struct ScanCase {
    Op op;
    const char* title;
    std::string input;
    std::string expected;
};

// Comments go outside literals, as text mode reads the file; includes follow the state machine;
// literals are reported when they name an existing regular file, found from the folder of the
// target being scanned. Reading includes and literals at once finds the same.
TEST(WCInclude, FindsCharactersIncludesAndLiterals) {
    TempDir dir;
    dir.Write("data/x.txt", "x");
    dir.MakeFolder("bin");
    const std::vector<ScanCase> cases = {
        {Op::Chars, "line comments keep their newline", "a//x\nb//y", "a\nb"},
        {Op::Chars, "block comments yield nothing; the opening star does not close",
         "a/*x*/b/*/y*/c", "abc"},
        {Op::Chars, "unclosed block comment ends the file", "a/*x", "a"},
        {Op::Chars, "lone slashes stay", "a/b/", "a/b/"},
        {Op::Chars, "strings keep // and /*", "\"s//x/*\"/*c*/y", "\"s//x/*\"y"},
        {Op::Chars, "escaped quote does not end the string", "\"a\\\"/*\"/*c*/", "\"a\\\"/*\""},
        {Op::Chars, "escaped newline continues the string", "\"a\\\n//x\"b", "\"a\\\n//x\"b"},
        {Op::Chars, "unclosed string ends with its line", "\"a\n//x\nb", "\"a\n\nb"},
        {Op::Chars, "character literals alike", "'\"'//x\n'/'/*x*/'*'", "'\"'\n'/''*'"},
        {Op::Chars, "comment before a literal", "/*\"*/a//\"\nb", "a\nb"},
        {Op::Chars, "carriage returns dropped, also inside //", "a\r\nb\rc/\r/d\ne", "a\nbc\ne"},
        {Op::Chars, "0x1A ends the file", "ab\032cd", "ab"},
        {Op::Includes, "both openers", "#include \"a.h\"\n#include <b.h>\n", "\"a.h|<b.h|"},
        {Op::Includes, "blanks after the hash", "#  \t include \"a.h\"", "\"a.h|"},
        {Op::Includes, "no blank before the opener", "#include<a.h>", "<a.h|"},
        {Op::Includes, "capital I, blank inside the word, other directive",
         "#Include \"a.h\"\n#inc lude \"b.h\"\n#define X \"c.h\"", ""},
        {Op::Includes, "blank in the name", "#include \"a b.h\"", ""},
        {Op::Includes, "a longer word, a macro name", "#includes \"a.h\"\n#include NAME \"b.h\"",
         ""},
        {Op::Includes, "hash restarts inside a name", "#include \"a#include \"b.h\"", "\"b.h|"},
        {Op::Includes, "angle closed by a quote", "#include <a.h\"", "<a.h|"},
        {Op::Includes, "quote closed by angle", "#include \"a.h>\n#include \"b.h\"", "\"b.h|"},
        {Op::Includes, "empty name", "#include \"\"", "\"|"},
        {Op::Includes, "newline joins the name", "#include \"a\nb\"", "\"a\nb|"},
        {Op::Includes, "unfinished at the end", "#include \"a.h", ""},
        {Op::Includes, "inside comments", "/* #include \"a.h\" */// #include \"b.h\"\n", ""},
        {Op::Includes, "comment between word and opener", "#include/*x*/\"a.h\"", "\"a.h|"},
        {Op::Includes, "after a literal holding /*", "x = \"src/*.c\";\n#include \"a.h\"",
         "\"a.h|"},
        {Op::Includes, "slashes inside the quoted name", "#include \"a//b.h\"", "\"a//b.h|"},
        {Op::Literals, "backslashed, escape kept as one", "f(\"..\\\\DATA\\\\X.TXT\");",
         "..\\DATA\\X.TXT|"},
        {Op::Literals, "folders are not files", "f(\"../data\", \"/\", \"..\", \".\");", "||||"},
        {Op::Literals, "missing, then empty, then existing",
         "f(\"no.c\", \"\", \"../data/x.txt\");", "||../data/x.txt|"},
        {Op::Literals, "after a hash on its line",
         "#include \"../data/x.txt\"\nf(\"../data/x.txt\");", "../data/x.txt|"},
        {Op::Literals, "escaped quote stays in", "f(\"a\\\"b\");", "|"},
        {Op::Literals, "unclosed at the end still examined", "f(\"../data/x.txt", "../data/x.txt|"},
        {Op::Literals, "slashes inside keep the line", "f(\"a//b\", \"../data/x.txt\");",
         "|../data/x.txt|"},
    };
    for (const ScanCase& c : cases) {
        EXPECT_EQ(Scan(c.op, c.input, dir.Join("bin/")), c.expected) << c.title;
        if (c.op != Op::Chars) {
            const std::string named =
                c.op == Op::Literals ? WithoutEmptyEntries(c.expected) : c.expected;
            EXPECT_EQ(ScanInOneReading(c.op, c.input, dir.Join("bin/")), named)
                << c.title << " (one reading)";
        }
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

// WCInclude on arbitrary bytes: NextChar, NextResourceFile with SavePosition/RestorePosition, and
// FindReferences, which drives NextInclude, NextStringLiteral and the resource-script reader as
// the scan does. Each loop must end within a bound set by the input's size, and a position saved
// and restored must give the same line again. Every pass reads the whole input, so each is made
// once: the checks on includes and literals are made on what FindReferences returns. The two
// passes over resource lines, alone and as a script's, cover much the same code: the input's
// length chooses one (an odd length the lines alone), so a run makes three passes, not four.
#include <string>

#include "depscan/filefindings.h"
#include "depscan/wcinclude.h"
#include "fuzz/fuzzsupport.h"

// Files that resource lines and literals of the seeds name, so that the existence tests answer
// both ways; made once, the input replacing "input.c" on each run.
struct FixedFiles : MemoryHostFs {
    FixedFiles() {
        AddFile("/proj/a.h", "#include \"b.h\"\n");
        AddFile("/proj/res/icon.ico", "ICO");
        AddFile("/proj/b.h", "");
    }
};

void FuzzInput(std::string_view bytes) {
    const std::string folder = "/proj/";
    static FixedFiles fs;
    fs.AddFile("/proj/input.c", bytes);
    const WString projectFolder(folder);
    const std::size_t size = bytes.size();
    WCInclude scanner(fs, folder);
    WString name;
    char opener = 0;
    FUZZ_CHECK(!scanner.NextInclude(name, opener));  // nothing open: nothing found
    FUZZ_CHECK(!scanner.NextResourceFile(projectFolder, name));

    FUZZ_CHECK(scanner.Open("/proj/input.c"));
    FUZZ_CHECK(scanner.Contents() == bytes);
    std::size_t count = 0;
    for (int c; (c = scanner.NextChar()) != -1;) {
        FUZZ_CHECK(c >= 0 && c <= 255 && c != '\r');
        FUZZ_CHECK(++count <= size);
    }
    FUZZ_CHECK(scanner.NextChar() == -1);

    // Resource lines to the end, the second one twice: once it is read, back to the position
    // saved after the first, which must give it again, and the reading goes on from there. A
    // position or literal state restored wrongly shows in the line read next; reading every later
    // line a second time, as this did before, cost as much again as the whole resource pass.
    const bool resourceLines = size % 2 == 1;
    scanner.Rewind();
    std::string second;
    for (count = 0; resourceLines && scanner.NextResourceFile(projectFolder, name);) {
        FUZZ_CHECK(!name.IsEmpty());
        FUZZ_CHECK(++count <= size);
        if (count == 1) {
            scanner.SavePosition();
        } else if (count == 2) {
            second = name.Str();
            scanner.RestorePosition();
            FUZZ_CHECK(scanner.NextResourceFile(projectFolder, name) && name.Str() == second);
        }
    }

    // A source's includes and literals; a script's includes and resource lines.
    scanner.Rewind();
    const auto source = FindReferences(scanner, FileClass::Source, ParseLiterals::On);
    scanner.Rewind();
    const auto script =
        resourceLines ? std::vector<Finding>{}
                      : FindReferences(scanner, FileClass::ResourceScript, ParseLiterals::Off);
    FUZZ_CHECK(source.size() <= size && script.size() <= size);
    for (const auto* findings : {&source, &script}) {
        for (const Finding& finding : *findings) {
            const bool include = finding.kind == Finding::Kind::Include;
            FUZZ_CHECK(!include || finding.opener == '"' || finding.opener == '<');
            // "#include" and the closing quote; an escaped pair of a literal may keep its backslash
            FUZZ_CHECK(finding.name.size() + (include ? 9 : 0) <= (include ? size : 2 * size));
        }
    }
}

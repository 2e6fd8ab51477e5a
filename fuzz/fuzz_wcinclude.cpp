// WCInclude on arbitrary bytes: NextChar, NextInclude, NextResourceFile, NextStringLiteral, the
// resource-script reader and FindReferences. Each loop must end within a bound set by the input's
// size, and a position saved and restored must give the same findings again.
#include <string>

#include "depscan/filefindings.h"
#include "depscan/resourcescript.h"
#include "depscan/wcinclude.h"
#include "fuzz/fuzzsupport.h"

void FuzzInput(std::string_view bytes) {
    // Files that resource lines and literals of the seeds name, so that the existence tests
    // answer both ways.
    const std::string folder = "/proj/";
    MemoryFiles memory;
    memory.files.AddFile("/proj/a.h", "#include \"b.h\"\n");
    memory.files.AddFile("/proj/res/icon.ico", "ICO");
    memory.files.AddFile("/proj/b.h", "");
    memory.files.AddFile("/proj/input.c", bytes);
    FakeHostFs& fs = memory.fs;
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

    scanner.Rewind();
    for (count = 0; scanner.NextInclude(name, opener);) {
        FUZZ_CHECK(opener == '"' || opener == '<');
        FUZZ_CHECK(name.GetLength() + 9 <= size);  // "#include" and the closing quote
        FUZZ_CHECK(++count <= size);
    }

    // Resource lines to the end; then back to the position saved after the first one, which must
    // give all the later ones again.
    scanner.Rewind();
    for (count = 0; scanner.NextResourceFile(projectFolder, name);) {
        FUZZ_CHECK(!name.IsEmpty());
        FUZZ_CHECK(++count <= size);
        if (count == 1) {
            scanner.SavePosition();
        }
    }
    if (count > 0) {
        scanner.RestorePosition();
        std::size_t again = 0;
        while (scanner.NextResourceFile(projectFolder, name)) {
            FUZZ_CHECK(++again <= size);
        }
        FUZZ_CHECK(again == count - 1);
    }

    scanner.OpenText(std::string(bytes));
    for (count = 0; scanner.NextStringLiteral(name);) {
        FUZZ_CHECK(name.GetLength() <= 2 * size);  // an escaped pair may keep its backslash
        FUZZ_CHECK(++count <= size);
    }

    ResourceScriptReader reader(scanner);
    scanner.Rewind();
    ScriptReference reference;
    for (count = 0; reader.Next(reference);) {
        FUZZ_CHECK(++count <= size + 1);
    }
    for (FileClass fileClass : {FileClass::Source, FileClass::ResourceScript}) {
        scanner.Rewind();
        FUZZ_CHECK(FindReferences(scanner, fileClass, ParseLiterals::On).size() <= size);
    }
}

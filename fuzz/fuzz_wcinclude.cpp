// WCInclude on arbitrary bytes: NextChar, NextInclude, NextResourceFile,
// NextStringLiteral, the resource-script reader and FindReferences. Each loop
// must end within a bound set by the input's size, and a position saved and
// restored must give the same findings again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "depscan/filefindings.h"
#include "depscan/resourcescript.h"
#include "depscan/wcinclude.h"
#include "fuzz/fuzzsupport.h"

namespace {

// Files that resource lines and literals of the seeds name, so that the
// existence tests answer both ways.
std::string ProjectFolder() {
    static const std::string folder = [] {
        WriteScratchFile("proj/a.h", "#include \"b.h\"\n");
        WriteScratchFile("proj/res/icon.ico", "ICO");
        WriteScratchFile("proj/b.h", "");
        return ScratchFolder() + "/proj/";
    }();
    return folder;
}

void CheckCharacters(WCInclude& scanner, std::size_t size) {
    std::size_t count = 0;
    for (int c = scanner.NextChar(); c != -1; c = scanner.NextChar()) {
        FUZZ_CHECK(c >= 0 && c <= 255);
        FUZZ_CHECK(c != '\r');
        FUZZ_CHECK(++count <= size);
    }
    FUZZ_CHECK(scanner.NextChar() == -1);
}

void CheckIncludes(WCInclude& scanner, std::size_t size) {
    WString name;
    char opener = 0;
    std::size_t count = 0;
    while (scanner.NextInclude(name, opener)) {
        FUZZ_CHECK(opener == '"' || opener == '<');
        FUZZ_CHECK(name.GetLength() + 9 <= size);  // "#include" and the closing quote
        FUZZ_CHECK(++count <= size);
    }
}

// Resource lines to the end; then back to the position saved after the first
// one, which must give all the later ones again.
void CheckResourceLines(WCInclude& scanner, const WString& projectFolder, std::size_t size) {
    WString fileName;
    std::size_t count = 0;
    while (scanner.NextResourceFile(projectFolder, fileName)) {
        FUZZ_CHECK(!fileName.IsEmpty());
        FUZZ_CHECK(++count <= size);
        if (count == 1) {
            scanner.SavePosition();
        }
    }
    if (count == 0) {
        return;
    }
    scanner.RestorePosition();
    std::size_t again = 0;
    while (scanner.NextResourceFile(projectFolder, fileName)) {
        FUZZ_CHECK(++again <= size);
    }
    FUZZ_CHECK(again == count - 1);
}

void CheckLiterals(WCInclude& scanner, std::size_t size) {
    WString text;
    std::size_t count = 0;
    while (scanner.NextStringLiteral(text)) {
        FUZZ_CHECK(text.GetLength() <= 2 * size);  // an escaped pair may keep its backslash
        FUZZ_CHECK(++count <= size);
    }
}

void CheckReferences(WCInclude& scanner, FileClass fileClass, const std::string& folder, HostFs& fs,
                     std::size_t size) {
    scanner.Rewind();
    const std::vector<Finding> findings =
        FindReferences(scanner, fileClass, ParseLiterals::On, folder, fs);
    FUZZ_CHECK(findings.size() <= size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string folder = ProjectFolder();
    const WString projectFolder(folder);
    HostFs fs;

    // Nothing open: nothing found.
    WCInclude scanner(fs, folder);
    WString name;
    char opener = 0;
    FUZZ_CHECK(!scanner.NextInclude(name, opener));
    FUZZ_CHECK(!scanner.NextResourceFile(projectFolder, name));

    const std::string path = WriteScratchFile("proj/input.c", bytes);
    FUZZ_CHECK(scanner.Open(path));
    FUZZ_CHECK(scanner.Contents() == bytes);
    CheckCharacters(scanner, size);
    scanner.Rewind();
    CheckIncludes(scanner, size);
    scanner.Rewind();
    CheckResourceLines(scanner, projectFolder, size);
    scanner.OpenText(std::string(bytes));
    CheckLiterals(scanner, size);

    ResourceScriptReader reader(scanner, folder, fs);
    scanner.Rewind();
    ScriptReference reference;
    std::size_t references = 0;
    while (reader.Next(reference)) {
        FUZZ_CHECK(++references <= size + 1);
    }
    CheckReferences(scanner, FileClass::Source, folder, fs, size);
    CheckReferences(scanner, FileClass::ResourceScript, folder, fs, size);
    return 0;
}

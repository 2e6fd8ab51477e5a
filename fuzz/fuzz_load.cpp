// The whole load on a generated project folder: project file, target file and sources written
// from the input, then the tree built with its dependency scan, dumped, exported and copied.
// Checks: the load ends, the copy writes nothing outside its destination, and every file of the
// project folder is byte-identical afterwards.
//
// Input layout: pieces separated by "\n--8<--\n" become, in order, the files named in kFiles; the
// target file gets a generated default when the input has fewer pieces. The dependency scan runs
// with a small node limit so that one input stays fast; the limit itself is tested end to end.
#include <map>
#include <sstream>
#include <string>

#include "classlib/core/wliststore.h"
#include "copy/copycolumns.h"
#include "copy/copyrun.h"
#include "depscan/dependencyscan.h"
#include "depscan/depfile.h"
#include "fuzz/fuzzsupport.h"
#include "project/projecttree.h"

namespace {

constexpr std::size_t kNodeLimit = 20'000;
// Relative to the scratch folder; the project folder is "load/proj/".
constexpr std::string_view kFiles[] = {
    "load/proj/a.c",  "load/proj/inc/b.h", "load/proj/r.rc",
    "load/outside.h", "load/proj/t.tgt",   "load/watcom/h/sys.h",
};
constexpr std::size_t kTargetPiece = 4;

// The project file and the default target file in the IDE's line form: one target "t.tgt" with
// an include switch and sources inside and outside the project folder, a library and a missing
// file.
constexpr std::string_view kProjectFile =
    "40\r\nprojectIdent\r\nVComponent\r\n1\r\nWRect\r\n0\r\n0\r\n5700\r\n4280\r\n0\r\n0\r\n"
    "2\r\nWFileName\r\n5\r\nt.tgt\r\n0\r\n1\r\n";
std::string DefaultTargetFile() {
    std::string text =
        "40\r\ntargetIdent\r\nMComponent\r\n0\r\n2\r\nWString\r\n4\r\nNEXE\r\n3\r\n"
        "WString\r\n5\r\nnw2en\r\n";
    const auto item = [&text](std::string_view name) {
        text += "MItem\r\n" + std::to_string(name.size()) + "\r\n" + std::string(name) +
                "\r\n7\r\nWString\r\n4\r\nCOBJ\r\n";
    };
    item("app.exe");
    text +=
        "MVState\r\n15\r\nWString\r\n3\r\nWCC\r\n16\r\nWString\r\n25\r\n"
        "n????Include directories:\r\n0\r\n17\r\nWString\r\n16\r\ninc;$(%watcom)\\h\r\n0\r\n";
    for (std::string_view name : {"a.c", "r.rc", "..\\outside.h", "lib\\x.lib", "missing.c"}) {
        item(name);
    }
    return text;
}

// Every file outside the copy's destination with its bytes (nothing else lives there).
std::map<std::string, std::string> EverythingButDestination() {
    std::map<std::string, std::string> files;
    const std::string root = ScratchFolder();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().string().substr(root.size() + 1);
        if (!name.starts_with("dest")) {
            std::ostringstream bytes;
            bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            files[name] = bytes.str();
        }
    }
    return files;
}

}  // namespace

void FuzzInput(std::string_view bytes) {
    ClearScratch();
    const std::vector<std::string_view> pieces = SplitInput(bytes, "\n--8<--\n");
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
        if (i < pieces.size()) {
            WriteScratchFile(kFiles[i], pieces[i]);
        } else if (i == kTargetPiece) {
            WriteScratchFile(kFiles[i], DefaultTargetFile());
        }
    }
    const std::string project = WriteScratchFile("load/proj/p.wpj", kProjectFile);
    const auto before = EverythingButDestination();

    NativeHostFs fs;
    WTreeStore tree;
    ScanOptions options;
    options.parseLiterals = bytes.size() % 2 == 0 ? ParseLiterals::On : ParseLiterals::Off;
    options.compilerFolder = WString(ScratchFolder() + "/load/watcom");
    options.nodeLimit = kNodeLimit;
    ScanOutcome outcome;
    const DependencyScan scan = [&](WTreeStore& scanned, const WString& folder, ParseLiterals) {
        return BuildDependencies(scanned, folder, fs, options);
    };
    FUZZ_CHECK(LoadProject(tree, WFilePath(std::string_view(project)), fs, options.parseLiterals,
                           scan, &outcome));
    FUZZ_CHECK(outcome.nodesAdded <= kNodeLimit);
    FUZZ_CHECK(tree.Count() <= kNodeLimit + 64 + bytes.size());

    std::ostringstream dump;
    DumpTree(tree, tree.FirstRoot(), dump, 0);
    std::filesystem::create_directories(ScratchFolder() + "/dest");
    FUZZ_CHECK(ExportDependencies(tree, ScratchFolder() + "/dest/p_dep.Txt", fs) ==
               ExportResult::Written);
    WListStore results;
    for (const std::string_view column : kCopyColumnHeaders) {
        results.AddColumn(column);
    }
    const CopyRunSummary summary =
        RunProjectCopy(tree, ScratchFolder() + "/dest/copy", results, fs);
    FUZZ_CHECK(summary.ran);
    FUZZ_CHECK(summary.copied + summary.failed == results.RowCount());
    FUZZ_CHECK(EverythingButDestination() == before);
}

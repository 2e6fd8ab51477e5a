// The whole load on a generated project folder in memory: project file, target file and sources
// written from the input, then the tree built with its dependency scan, dumped, exported and
// copied. Checks: the load ends, the scan reads no file twice, the copy writes nothing outside its
// destination, and every file of the project folder is byte-identical afterwards.
//
// Input layout: pieces separated by "\n--8<--\n" become, in order, the files named in kFiles; the
// target file gets a generated default when the input has fewer pieces. The dependency scan runs
// with a small node limit so that one input stays fast; the limit itself is tested end to end.
#include <algorithm>
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
#include "tests/support/projectwriter.h"

namespace {

constexpr std::size_t kNodeLimit = 20'000;
// The project folder is "/load/proj/".
constexpr std::string_view kFiles[] = {
    "/load/proj/a.c",  "/load/proj/inc/b.h", "/load/proj/r.rc",
    "/load/outside.h", "/load/proj/t.tgt",   "/load/watcom/h/sys.h",
};
constexpr std::size_t kTargetPiece = 4;

// The default target file: one target "t.tgt" with an include switch and sources inside and
// outside the project folder, a library and a missing file. Made once.
const std::string& DefaultTargetFile() {
    static const std::string text = [] {
        projectwriter::TargetLayout layout;
        layout.includeDirectories = "inc;$(%watcom)\\h";
        layout.items = {"a.c", "r.rc", "..\\outside.h", "lib\\x.lib", "missing.c"};
        return projectwriter::TargetFileText(layout);
    }();
    return text;
}

// Every file but those below folder.
std::map<std::string, std::string> FilesOutside(const MemoryHostFs& files,
                                                std::string_view folder) {
    std::map<std::string, std::string> outside = files.Files();
    std::erase_if(outside, [&](const auto& file) { return file.first.starts_with(folder); });
    return outside;
}

bool AnyTwice(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return std::adjacent_find(paths.begin(), paths.end()) != paths.end();
}

}  // namespace

void FuzzInput(std::string_view bytes) {
    MemoryFiles memory;
    FakeHostFs& fs = memory.fs;
    const std::vector<std::string_view> pieces = SplitInput(bytes, "\n--8<--\n");
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
        if (i < pieces.size()) {
            memory.files.AddFile(kFiles[i], pieces[i]);
        } else if (i == kTargetPiece) {
            memory.files.AddFile(kFiles[i], DefaultTargetFile());
        }
    }
    const std::string project = "/load/proj/p.wpj";
    static const std::string projectText = projectwriter::ProjectFileText({"t.tgt"});
    memory.files.AddFile(project, projectText);
    const auto before = memory.files.Files();

    WTreeStore tree;
    ScanOptions options;
    options.parseLiterals = bytes.size() % 2 == 0 ? ParseLiterals::On : ParseLiterals::Off;
    options.compilerFolder = WString("/load/watcom");
    options.nodeLimit = kNodeLimit;
    options.readAhead = false;  // one thread: the same tree, and the coverage of this run only
    ScanOutcome outcome;
    std::size_t readsBeforeScan = 0;
    const DependencyScan scan = [&](WTreeStore& scanned, const WString& folder, ParseLiterals) {
        readsBeforeScan = fs.Reads().size();
        return BuildDependencies(scanned, folder, fs, options);
    };
    FUZZ_CHECK(LoadProject(tree, WFilePath(std::string_view(project)), fs, options.parseLiterals,
                           scan, &outcome));
    FUZZ_CHECK(!AnyTwice(
        {fs.Reads().begin() + static_cast<std::ptrdiff_t>(readsBeforeScan), fs.Reads().end()}));
    FUZZ_CHECK(outcome.nodesAdded <= kNodeLimit);
    FUZZ_CHECK(tree.Count() <= kNodeLimit + 64 + bytes.size());

    // The walks stop at the limit where headers include each other.
    std::ostringstream dump;
    const bool whole = DumpTree(tree, tree.FirstRoot(), dump, 0, "\n", kNodeLimit);
    FUZZ_CHECK(fs.CreateFolder("/dest").ok());
    FUZZ_CHECK(ExportDependencies(tree, "/dest/p_dep.Txt", fs, nullptr, kNodeLimit) ==
               (whole ? ExportResult::Written : ExportResult::Stopped));
    WListStore results;
    for (const std::string_view column : kCopyColumnHeaders) {
        results.AddColumn(column);
    }
    const CopyRunSummary summary = RunProjectCopy(tree, "/dest/copy", results, fs);
    FUZZ_CHECK(summary.ran);
    FUZZ_CHECK(summary.copied + summary.failed == results.RowCount());
    FUZZ_CHECK(FilesOutside(memory.files, "/dest/") == before);
}

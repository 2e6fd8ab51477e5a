// The project-file scan, WCTarget and the project tree on arbitrary bytes, which serve as project
// file and as target file: the scan must end, every reference must come from a twelfth line, and
// the target reader must consume at least one line per record so that its loop ends.
#include <sstream>
#include <string>

#include "fuzz/fuzzsupport.h"
#include "project/projectfilescan.h"
#include "project/projecttree.h"
#include "project/wctarget.h"

void FuzzInput(std::string_view bytes) {
    MemoryFiles memory;
    FakeHostFs& fs = memory.fs;
    const std::string project = "/p.wpj";
    memory.files.AddFile(project, bytes);
    memory.files.AddFile("/t.tgt", bytes);
    std::size_t references = 0;
    FUZZ_CHECK(ScanProjectFile(fs, project, [&](const WString&) { ++references; }));
    FUZZ_CHECK(references * 13 <= bytes.size() + 13);

    WCTarget target(fs);
    FUZZ_CHECK(target.Open("/t.tgt"));
    std::size_t records = 0;
    WString value;
    bool debug = false;
    for (RecordKind kind; (kind = target.NextRecord()) != RecordKind::End;) {
        FUZZ_CHECK(++records <= bytes.size());  // every marker is at least one byte of its own
        if (kind == RecordKind::MComponent && target.ReadComponent(value)) {
            (void)WCTarget::DefaultIncludeDirectories(value.GetText());
        } else if (kind == RecordKind::MItem && target.ReadItem(value)) {
            FUZZ_CHECK(value.GetCharacter(0) != '*');
        } else if (kind == RecordKind::MVState) {
            (void)target.ReadSwitch(value, debug);
        }
    }
    FUZZ_CHECK(target.NextRecord() == RecordKind::End);  // past the end it stays at the end

    // The tree without the dependency step: references name files that are mostly missing, and
    // "t.tgt" (the same bytes) when the input says so.
    WTreeStore tree;
    FUZZ_CHECK(
        LoadProject(tree, WFilePath(std::string_view(project)), fs, ParseLiterals::Off, nullptr));
    std::ostringstream dump;
    DumpTree(tree, tree.FirstRoot(), dump, 0);
    FUZZ_CHECK(tree.Count() >= 1);
}

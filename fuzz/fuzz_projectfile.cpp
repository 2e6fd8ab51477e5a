// The project-file scan, WCTarget and the project tree on arbitrary bytes.
// The same bytes serve as project file and as target file: the scan must
// end, every reference must come from a twelfth line, and the target reader
// must consume at least one line per record so that its loop ends.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/fuzzsupport.h"
#include "project/projectfilescan.h"
#include "project/projecttree.h"
#include "project/wctarget.h"

namespace {

void ReadAllRecords(HostFs& fs, const std::string& path, std::size_t size) {
    WCTarget target(fs);
    FUZZ_CHECK(target.Open(path.c_str()));
    std::size_t records = 0;
    WString value;
    bool debug = false;
    for (RecordKind kind = target.NextRecord(); kind != RecordKind::End;
         kind = target.NextRecord()) {
        FUZZ_CHECK(++records <= size);  // every marker is at least one byte of its own
        switch (kind) {
            case RecordKind::MComponent:
                if (target.ReadComponent(value)) {
                    (void)WCTarget::DefaultIncludeDirectories(value.GetText());
                }
                break;
            case RecordKind::MItem:
                if (target.ReadItem(value)) {
                    FUZZ_CHECK(value.GetCharacter(0) != '*');
                }
                break;
            case RecordKind::MVState:
                (void)target.ReadSwitch(value, debug);
                break;
            default:
                break;
        }
    }
    // Past the end the reader stays at the end.
    FUZZ_CHECK(target.NextRecord() == RecordKind::End);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string project = WriteScratchFile("p.wpj", bytes);
    const std::string target = WriteScratchFile("t.tgt", bytes);

    HostFs fs;
    std::size_t references = 0;
    FUZZ_CHECK(ScanProjectFile(fs, project, [&](const WString&) { ++references; }));
    FUZZ_CHECK(references * 13 <= size + 13);

    ReadAllRecords(fs, target, size);

    // The tree without the dependency step: references name files that are
    // mostly missing, and "t.tgt" (the same bytes) when the input says so.
    WTreeStore tree;
    FUZZ_CHECK(
        LoadProject(tree, WFilePath(std::string_view(project)), fs, ParseLiterals::Off, nullptr));
    std::ostringstream dump;
    DumpTree(tree, tree.FirstRoot(), dump, 0);
    FUZZ_CHECK(tree.Count() >= 1);
    return 0;
}

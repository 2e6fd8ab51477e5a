#include "project/projectfilescan.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"

namespace {

using namespace projectwriter;
// The lines of a reference after "VComponent", with line 10 and 12 given.
std::string ReferenceLines(const std::string& line10, const std::string& line12) {
    return Lines({"VComponent", "1", "2", "3", "4", "5", "6", "7", "8", "9", line10, "11", line12});
}

struct ScanRow {
    const char* name;
    std::string bytes;
    std::string references;  // in file order, each followed by '|'
};

TEST(ProjectFileScanTest, ReferencesFoundByCountingFromVComponent) {
    const std::string tenLines = Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "WFileName"});
    const ScanRow rows[] = {
        {"LineFormInFileOrder",
         RenderLines(ProjectHeader("40") + Reference("a.tgt") + Reference("sub\\b.tgt"), "\r\n"),
         "a.tgt|sub\\b.tgt|"},
        {"NulSeparated", RenderNul(ProjectHeader("37") + Reference("a.tgt") + Reference("b.tgt")),
         "a.tgt|b.tgt|"},
        {"NoVComponent", Lines({"40", "projectIdent", "WFileName", "a.tgt"}), ""},
        {"NotAProjectFile", "int main(void) { return 0; }\n", ""},
        {"Line10WithBlank", ReferenceLines("WFileName ", "a.tgt"), ""},
        {"Line10InLowerCase", ReferenceLines("wfilename", "a.tgt"), ""},
        {"VComponentInsideRestarts",
         Lines({"VComponent", "1", "2", "3", "4", "5"}) + ReferenceLines("WFileName", "b.tgt"),
         "b.tgt|"},
        // A "VComponent" as line 12 restarts too, and is not taken as the reference.
        {"VComponentAsLine12Restarts",
         ReferenceLines("WFileName", "VComponent") + tenLines + "11\nc.tgt\n", "c.tgt|"},
        // "WFileName" again ten lines later does not make a second reference.
        {"LinesAfterTheReferenceIgnored",
         ReferenceLines("WFileName", "a.tgt") + tenLines + "23\nx.tgt\n", "a.tgt|"},
        {"TakenExactlyAsWritten", ReferenceLines("WFileName", " d:\\x\\A B.TGT "),
         " d:\\x\\A B.TGT |"},
        {"EmptyReference", ReferenceLines("WFileName", ""), "|"},
    };
    TempDir dir;
    NativeHostFs fs;
    std::string references;
    const auto collect = [&](const WString& reference) { references += reference.Str() + "|"; };
    for (const ScanRow& row : rows) {
        SCOPED_TRACE(row.name);
        references.clear();
        EXPECT_EQ(ScanProjectFile(fs, dir.Write("p.wpj", row.bytes), collect), true);
        EXPECT_EQ(references, row.references);
    }
    // A project file that cannot be read fails.
    references.clear();
    EXPECT_EQ(ScanProjectFile(fs, dir.Join("missing.wpj"), collect), false);
    EXPECT_EQ(ScanProjectFile(fs, dir.path(), collect), false);
    EXPECT_EQ(references, "");
}

}  // namespace

#include "project/projectfilescan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"

namespace {

using namespace projectwriter;
using References = std::vector<std::string>;

// The lines of a reference after "VComponent", with line 10 and 12 given.
std::string ReferenceLines(const std::string& line10, const std::string& line12) {
    return Lines({"VComponent", "1", "2", "3", "4", "5", "6", "7", "8", "9", line10, "11", line12});
}

struct ScanRow {
    const char* name;
    std::string bytes;
    References references;
};

TEST(ProjectFileScanTest, ReferencesFoundByCountingFromVComponent) {
    const std::string tenLines = Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "WFileName"});
    const ScanRow rows[] = {
        {"LineFormInFileOrder",
         RenderLines(ProjectHeader("40") + Reference("a.tgt") + Reference("sub\\b.tgt"), "\r\n"),
         {"a.tgt", "sub\\b.tgt"}},
        {"NulSeparated",
         RenderNul(ProjectHeader("37") + Reference("a.tgt") + Reference("b.tgt")),
         {"a.tgt", "b.tgt"}},
        {"NoVComponent", Lines({"40", "projectIdent", "WFileName", "a.tgt"}), {}},
        {"NotAProjectFile", "int main(void) { return 0; }\n", {}},
        {"Line10WithBlank", ReferenceLines("WFileName ", "a.tgt"), {}},
        {"Line10InLowerCase", ReferenceLines("wfilename", "a.tgt"), {}},
        {"VComponentInsideRestarts",
         Lines({"VComponent", "1", "2", "3", "4", "5"}) + ReferenceLines("WFileName", "b.tgt"),
         {"b.tgt"}},
        // A "VComponent" as line 12 restarts too, and is not taken as the reference.
        {"VComponentAsLine12Restarts",
         ReferenceLines("WFileName", "VComponent") + tenLines + "11\nc.tgt\n",
         {"c.tgt"}},
        // "WFileName" again ten lines later does not make a second reference.
        {"LinesAfterTheReferenceIgnored",
         ReferenceLines("WFileName", "a.tgt") + tenLines + "23\nx.tgt\n",
         {"a.tgt"}},
        {"TakenExactlyAsWritten",
         ReferenceLines("WFileName", " d:\\x\\A B.TGT "),
         {" d:\\x\\A B.TGT "}},
        {"EmptyReference", ReferenceLines("WFileName", ""), {""}},
    };
    TempDir dir;
    NativeHostFs fs;
    for (const ScanRow& row : rows) {
        SCOPED_TRACE(row.name);
        References references;
        EXPECT_EQ(ScanProjectFile(fs, dir.Write("p.wpj", row.bytes),
                                  [&](const WString& ref) { references.push_back(ref.Str()); }),
                  true);
        EXPECT_EQ(references, row.references);
    }
}

TEST(ProjectFileScanTest, UnreadableProjectFileFails) {
    TempDir dir;
    NativeHostFs fs;
    int calls = 0;
    EXPECT_EQ(ScanProjectFile(fs, dir.Join("missing.wpj"), [&](const WString&) { ++calls; }),
              false);
    EXPECT_EQ(ScanProjectFile(fs, dir.path(), [&](const WString&) { ++calls; }), false);
    EXPECT_EQ(calls, 0);
}

}  // namespace

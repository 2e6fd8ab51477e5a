#include "project/projectfilescan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/recordbuilder_test.h"
#include "tests/support/tempdir.h"

namespace {

using namespace records;
using References = std::vector<std::string>;

class ProjectFileScanTest : public testing::Test {
protected:
    References Scan(const std::string& bytes) {
        const std::string path = dir_.Write("p.wpj", bytes);
        References references;
        scanned_ = ScanProjectFile(
            fs_, path, [&](const WString& reference) { references.push_back(reference.Str()); });
        return references;
    }

    TempDir dir_;
    HostFs fs_;
    bool scanned_ = false;
};

// The lines of a reference after "VComponent", with line 10 and 12 given.
std::string ReferenceLines(const std::string& line10, const std::string& line12) {
    return Lines({"VComponent", "1", "2", "3", "4", "5", "6", "7", "8", "9"}) + line10 + "\n11\n" +
           line12 + "\n";
}

TEST_F(ProjectFileScanTest, ReferencesInFileOrder) {
    Values values = ProjectHeader("40");
    Append(values, Reference("a.tgt"));
    Append(values, Reference("sub\\b.tgt"));
    EXPECT_EQ(Scan(RenderLines(values, "\r\n")), (References{"a.tgt", "sub\\b.tgt"}));
    EXPECT_EQ(scanned_, true);
}

TEST_F(ProjectFileScanTest, NulSeparatedProjectGivesTheSameReferences) {
    Values values = ProjectHeader("37");
    Append(values, Reference("a.tgt"));
    Append(values, Reference("b.tgt"));
    EXPECT_EQ(Scan(RenderNul(values)), (References{"a.tgt", "b.tgt"}));
}

TEST_F(ProjectFileScanTest, NoVComponentGivesNoReferences) {
    EXPECT_EQ(Scan(Lines({"40", "projectIdent", "WFileName", "a.tgt"})), References{});
    EXPECT_EQ(Scan("int main(void) { return 0; }\n"), References{});
    EXPECT_EQ(scanned_, true);
}

TEST_F(ProjectFileScanTest, Line10MustBeWFileNameExactly) {
    EXPECT_EQ(Scan(ReferenceLines("WFileName ", "a.tgt")), References{});
    EXPECT_EQ(Scan(ReferenceLines("wfilename", "a.tgt")), References{});
    EXPECT_EQ(Scan(ReferenceLines("WFileName", "a.tgt")), References{"a.tgt"});
}

TEST_F(ProjectFileScanTest, VComponentInsideAReferenceRestartsTheCount) {
    const std::string bytes =
        Lines({"VComponent", "1", "2", "3", "4", "5"}) + ReferenceLines("WFileName", "b.tgt");
    EXPECT_EQ(Scan(bytes), References{"b.tgt"});
    // A "VComponent" as line 12 restarts too, and is not taken as the reference.
    EXPECT_EQ(
        Scan(ReferenceLines("WFileName", "VComponent") +
             Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "WFileName", "11", "c.tgt"})),
        References{"c.tgt"});
}

TEST_F(ProjectFileScanTest, LinesAfterTheReferenceAreIgnored) {
    // "WFileName" again ten lines later does not make a second reference.
    const std::string bytes =
        ReferenceLines("WFileName", "a.tgt") +
        Lines({"13", "14", "15", "16", "17", "18", "19", "20", "21", "WFileName", "23", "x.tgt"});
    EXPECT_EQ(Scan(bytes), References{"a.tgt"});
}

TEST_F(ProjectFileScanTest, ReferenceIsTakenExactlyAsWritten) {
    EXPECT_EQ(Scan(ReferenceLines("WFileName", " d:\\x\\A B.TGT ")),
              References{" d:\\x\\A B.TGT "});
    EXPECT_EQ(Scan(ReferenceLines("WFileName", "")), References{""});
}

TEST_F(ProjectFileScanTest, UnreadableProjectFileFails) {
    References references;
    EXPECT_EQ(
        ScanProjectFile(fs_, dir_.Join("missing.wpj"),
                        [&](const WString& reference) { references.push_back(reference.Str()); }),
        false);
    EXPECT_EQ(ScanProjectFile(fs_, dir_.path(), [&](const WString&) {}), false);
    EXPECT_EQ(references, References{});
}

}  // namespace

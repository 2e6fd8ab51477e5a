// Hostile inputs of scale through the real tamsk-cli: a huge line, a huge target file, a deep
// include chain and an exponential include graph. Each run ends under a watchdog, its memory is
// measured, and the project folder is byte-identical afterwards (checked by the fixture).
#include <algorithm>
#include <fstream>
#include <string>

#include "tests/e2e/hostilefixture.h"

namespace {

// head, then pattern repeated to at least totalBytes, then tail; streamed, so that this process
// stays small.
void WriteRepeated(const std::string& path, std::string_view head, std::string_view pattern,
                   std::size_t totalBytes, std::string_view tail) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << head;
    std::string block;
    while (block.size() < (1 << 20)) {
        block += pattern;
    }
    for (std::size_t written = 0; written < totalBytes; written += block.size()) {
        out << block;
    }
    out << tail;
}

std::string Header(int i) {
    return "h" + std::to_string(i) + ".h";
}

}  // namespace

using HostileInputTest = HostileFixture;

TEST_F(HostileInputTest, AHundredMegabyteLineIsScannedToItsEnd) {
    constexpr std::size_t kSize = 100u << 20;
    WriteRepeated(Proj("big.c"), "", "abcdefgh/*x*/'q'", kSize, "#include \"tail.h\"");
    WriteSource("tail.h", "");
    projectwriter::TargetLayout layout;
    layout.items = {"big.c"};
    WriteProject(layout);
    // The same line again as the last line of a second target file.
    WriteRepeated(Proj("big.tgt"), projectwriter::TargetFileText(layout), "MItem..", kSize, "");
    WriteSource("p.wpj", projectwriter::ProjectFileText({"t.tgt", "big.tgt"}));
    memoryMb_ = 500;  // the file is held whole once per reader: a few times its size at most

    const CliRun tree = Tree();
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_TRUE(HasLine(tree.out, "    tail.h")) << tree.out;
    EXPECT_NE(tree.out.find("[big.tgt]"), std::string::npos) << tree.out;
}

TEST_F(HostileInputTest, ATargetFileOfAMillionRecordsLoadsWhole) {
    // Sanitized debug builds run this about ten times slower; there the case looks for memory
    // errors, and the full million proves the scale.
    const int records = Sanitized() ? 250'000 : 1'000'000;
    WriteProject({});
    std::ofstream out(Proj("t.tgt"), std::ios::binary | std::ios::app);
    for (int i = 0; i < records; ++i) {
        std::string record;
        projectwriter::AppendItem(record, "f" + std::to_string(i) + ".c");
        out << record;
    }
    out.close();
    memoryMb_ = 1000;

    const CliRun tree = Tree();
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_GE(std::count(tree.out.begin(), tree.out.end(), '\n'), records);
    EXPECT_TRUE(HasLine(tree.out, "   f" + std::to_string(records - 1) + ".c"));
}

TEST_F(HostileInputTest, AnIncludeChainTenThousandDeepIsFollowedToItsEnd) {
    constexpr int kDepth = 10'000;
    WriteSource("main.c", "#include \"h0.h\"\n");
    for (int i = 0; i < kDepth; ++i) {
        WriteSource(Header(i), i + 1 < kDepth ? "#include \"" + Header(i + 1) + "\"\n" : "");
    }
    WriteProjectWithItems({"main.c"});
    memoryMb_ = 300;

    const CliRun tree = Tree();
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    // main.c stands three levels down, h0.h four, h9999.h 10,003.
    EXPECT_TRUE(HasLine(tree.out, std::string(3 + kDepth, ' ') + "h9999.h"));
}

TEST_F(HostileInputTest, TwentyHeadersIncludingEachOtherStopAtTheWorkLimit) {
    constexpr int kHeaders = 20;
    std::string includes;
    for (int i = 0; i < kHeaders; ++i) {
        includes += "#include \"" + Header(i) + "\"\n";
    }
    for (int i = 0; i < kHeaders; ++i) {
        const std::string guard = "H" + std::to_string(i);
        WriteSource(Header(i),
                    "#ifndef " + guard + "\n#define " + guard + "\n" + includes + "#endif\n");
    }
    WriteSource("main.c", "#include \"h0.h\"\n");
    WriteProjectWithItems({"main.c"});
    memoryMb_ = 3000;

    // The copy prints one row per file, so the output stays small however large the tree grows.
    const CliRun copy = Copy();
    EXPECT_EQ(copy.exitCode, 1) << copy.err;
    EXPECT_NE(copy.err.find("warning"), std::string::npos) << copy.err;
    for (int i = 0; i < kHeaders; ++i) {
        EXPECT_EQ(ReadWhole(Dest(Header(i))), ReadWhole(Proj(Header(i)))) << Header(i);
    }
}

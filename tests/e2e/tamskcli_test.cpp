// The real tamsk-cli binary: exit codes, whole outputs, and nothing written outside the
// destination, for refused writes and inputs of scale.
#include <unistd.h>

#include <fstream>
#include <string>

#include "tests/e2e/clifixture.h"

using TamskCli = CliFixture;

TEST_F(TamskCli, UsageErrorsAndOutputErrorsGiveTheirExitCodes) {
    WriteProject({});
    const CliRun notAProject = Cli({"tree", "/bin/sh"});
    EXPECT_EQ(notAProject.exitCode, 2);
    EXPECT_EQ(notAProject.out, "");
    EXPECT_EQ(notAProject.err, "tamsk-cli: /bin/sh is not a Watcom IDE project file\n");
    EXPECT_EQ(Cli({"bogus"}).exitCode, 2);
    EXPECT_EQ(Cli({"tree", ProjectFile()}, {.out = "/dev/full"}).exitCode, 1);
}

// The project lists shapes.c beside it and src\shapes.c: copied into src, the first would land on
// the second before it is read. That row fails and says why; the rest is copied.
TEST_F(TamskCli, ACopyIntoTheProjectNeverWritesOntoItsOwnFiles) {
    WriteSource("shapes.c", "int outer;\n");
    WriteSource("src/shapes.c", "int inner;\n");
    WriteProject({"shapes.c", "src\\shapes.c"});
    mayChange_ = {"run", "outer/proj/src/p.wpj", "outer/proj/src/t.tgt", "outer/proj/src/src"};
    const CliRun copy = Cli({"copy", "p.wpj", "src"}, {.folder = Proj()});
    EXPECT_EQ(copy.exitCode, 1);
    EXPECT_EQ(copy.out,
              "p.wpj\tsrc\tcopied\nt.tgt\tsrc\tcopied\nshapes.c\tsrc\tfailed\n"
              "src\\shapes.c\tsrc/src\tcopied\n");
    EXPECT_EQ(copy.err,
              "tamsk-cli: cannot copy shapes.c: src/shapes.c: is a file this copy reads; "
              "left untouched\n");
    EXPECT_EQ(ReadWhole(Proj("src/src/shapes.c")), "int inner;\n");
}

// Every row fails with its reason, one line each, and nothing changes anywhere.
TEST_F(TamskCli, RefusedDestinationsFailEveryRow) {
    WriteSource("main.c", "int main(void) { return 0; }\n");
    WriteProject({"main.c"});
    temp_.Write("blocker", "not a folder\n");
    ASSERT_EQ(symlink(Proj().c_str(), temp_.Join("link").c_str()), 0);
    for (const std::string& destination :
         {temp_.Join("blocker"), temp_.Join("blocker/below"), Proj(), temp_.Join("link"),
          temp_.Join("outer/../outer/proj/"), std::string("/proc/self/tamsk")}) {
        SCOPED_TRACE(destination);
        const CliRun copy = Cli({"copy", ProjectFile(), destination});
        EXPECT_EQ(copy.exitCode, 1);
        EXPECT_EQ(std::count(copy.out.begin(), copy.out.end(), '\n'), 3) << copy.out;
        EXPECT_EQ(copy.out.find("copied"), std::string::npos) << copy.out;
        EXPECT_EQ(std::count(copy.err.begin(), copy.err.end(), '\n'), 3) << copy.err;
    }
}

TEST_F(TamskCli, AnExportThatCannotBeWrittenSaysWhyAndChangesNothing) {
    WriteProject({});
    temp_.MakeFolder("outer/proj/p_dep.Txt");  // a folder in the dependency file's place
    const CliRun exported = Cli({"export", ProjectFile()});
    EXPECT_EQ(exported.exitCode, 1);
    EXPECT_EQ(exported.out, "");
    EXPECT_EQ(exported.err, "tamsk-cli: cannot write the dependency file: cannot replace " +
                                Proj("p_dep.Txt") + ": Is a directory\n");
}

// Inputs of scale end well inside the watchdog with the whole tree (their time and memory are
// measured by bench/hostile.py).
TEST_F(TamskCli, AHugeLineAndAnIncludeChainTenThousandDeep) {
    constexpr int kDepth = 10'000;
    std::ofstream big(Proj("big.c"), std::ios::binary);
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 32; ++i) {
        big << "/*" << block << "*/";
    }
    big << "#include \"h0.h\"";
    big.close();
    for (int i = 0; i < kDepth; ++i) {
        WriteSource("h" + std::to_string(i) + ".h",
                    i + 1 < kDepth ? "#include \"h" + std::to_string(i + 1) + ".h\"\n" : "");
    }
    WriteProject({"big.c"});

    const CliRun tree = Cli({"tree", ProjectFile()});
    EXPECT_EQ(tree.exitCode, 0) << tree.err;
    // big.c stands three levels down, h0.h four, h9999.h 10,003.
    EXPECT_TRUE(HasLine(tree.out, std::string(3 + kDepth, ' ') + "h9999.h"));
}

// The real tamsk-cli binary, end to end: what only it shows (exit codes, whole outputs, nothing
// written outside the destination) for bad usage and refused writes. Inputs of scale are measured
// by bench/hostile.py; their trees are checked where they are built (the scan, the tree dump).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"
#include "tests/support/treesnapshot.h"

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The project lives in <temp>/outer/proj, the output goes to <temp>/run. The first run snapshots
// the temporary folder; at the end of the test nothing outside run/ may differ from it, so
// sources are byte-identical and nothing lands outside.
class TamskCli : public ::testing::Test {
protected:
    TamskCli() {
        temp_.MakeFolder("outer/proj");
        temp_.MakeFolder("run");
    }
    void TearDown() override {
        if (!before_.empty()) {
            EXPECT_EQ(treesnapshot::Take(temp_.path(), "run"), before_);
        }
    }

    std::string Proj(const std::string& relative = "") const {
        return temp_.Join(relative.empty() ? "outer/proj" : "outer/proj/" + relative);
    }
    std::string ProjectFile() const { return Proj("p.wpj"); }
    // A project file naming one target file t.tgt with the given items.
    void WriteProject(std::vector<std::string> items) const {
        projectwriter::TargetLayout layout;
        layout.items = std::move(items);
        temp_.Write("outer/proj/p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
        temp_.Write("outer/proj/t.tgt", projectwriter::TargetFileText(layout));
    }

    // Runs tamsk-cli in the temporary folder (args without the program name, none holding a
    // quote) with WATCOM unset, under a watchdog: a run past a minute is a hang (exit 124), a
    // crash exits above 128. Standard output goes to outFile when given.
    CliRun Cli(const std::vector<std::string>& args, const char* outFile = nullptr) {
        const std::string out = temp_.Join("run/cli.out");
        const std::string err = temp_.Join("run/cli.err");
        if (before_.empty()) {
            before_ = treesnapshot::Take(temp_.path(), "run");
        }
        std::string command =
            "cd '" + temp_.path() + "' && env -u WATCOM timeout 60 '" TAMSK_CLI_BINARY "'";
        for (const std::string& arg : args) {
            command += " '" + arg + "'";
        }
        command += " >'" + (outFile ? std::string(outFile) : out) + "' 2>'" + err + "'";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), outFile ? "" : ReadWhole(out), ReadWhole(err)};
    }

    TempDir temp_;

private:
    treesnapshot::Snapshot before_;
};

// Every row fails with its reason, one line each, and nothing changes anywhere.
TEST_F(TamskCli, RefusedDestinationsFailEveryRow) {
    temp_.Write("outer/proj/main.c", "int main(void) { return 0; }\n");
    WriteProject({"main.c"});
    temp_.Write("blocker", "not a folder\n");
    ASSERT_EQ(symlink(Proj().c_str(), temp_.Join("link").c_str()), 0);
    for (const std::string& destination :
         {temp_.Join("blocker"), temp_.Join("blocker/below"), Proj(), temp_.Join("link"),
          temp_.Join("outer/../outer/proj/"), std::string("outer/proj"),
          std::string("/proc/self/tamsk")}) {
        SCOPED_TRACE(destination);
        const CliRun copy = Cli({"copy", ProjectFile(), destination});
        EXPECT_EQ(copy.exitCode, 1);
        EXPECT_EQ(std::count(copy.out.begin(), copy.out.end(), '\n'), 3) << copy.out;
        EXPECT_EQ(copy.out.find("copied"), std::string::npos) << copy.out;
        EXPECT_EQ(std::count(copy.err.begin(), copy.err.end(), '\n'), 3) << copy.err;
    }
}

// Bad usage exits with 2, an output or export that cannot be written with 1; the export says why
// (the messages of bad usage are the cli tests' business) and changes nothing.
TEST_F(TamskCli, UsageOutputAndExportErrorsGiveTheirExitCodes) {
    WriteProject({});
    temp_.MakeFolder("outer/proj/p_dep.Txt");  // a folder in the dependency file's place
    EXPECT_EQ(Cli({"tree", "/bin/sh"}).exitCode, 2);
    EXPECT_EQ(Cli({"tree", ProjectFile()}, "/dev/full").exitCode, 1);
    const CliRun exported = Cli({"export", ProjectFile()});
    EXPECT_EQ(exported.exitCode, 1);
    EXPECT_EQ(exported.out, "");
    EXPECT_EQ(exported.err, "tamsk-cli: cannot write the dependency file: cannot replace " +
                                Proj("p_dep.Txt") + ": Is a directory\n");
}

}  // namespace

#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"
#include "tests/support/treesnapshot.h"

// The real tamsk-cli binary, end to end: what only it shows (exit codes, the whole output,
// nothing written outside the destination). Header-only: the e2e folder's *_test.cpp files are
// its only translation units.

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct RunOptions {
    std::string folder;         // the current folder of the run; empty: unchanged
    const char* out = nullptr;  // standard output goes here instead of a file
};

// The project lives in <temp>/outer/proj, a copy goes to <temp>/dest, the output to <temp>/run.
// The first run snapshots the temporary folder; at the end of the test nothing but the paths in
// mayChange_ may differ from it, so sources are byte-identical and nothing lands outside.
class CliFixture : public ::testing::Test {
protected:
    CliFixture() {
        temp_.MakeFolder("outer/proj");
        temp_.MakeFolder("run");
    }
    void TearDown() override {
        if (!before_.empty()) {
            EXPECT_EQ(Changes(), "");
        }
    }

    std::string Proj(const std::string& relative = "") const {
        return temp_.Join(relative.empty() ? "outer/proj" : "outer/proj/" + relative);
    }
    std::string ProjectFile() const { return Proj("p.wpj"); }
    std::string Dest(const std::string& relative = "") const {
        return temp_.Join("dest/" + relative);
    }
    std::string WriteSource(const std::string& relative, std::string_view bytes) const {
        return temp_.Write("outer/proj/" + relative, bytes);
    }
    // A project file naming one target file t.tgt with the given items.
    void WriteProject(std::vector<std::string> items) const {
        projectwriter::TargetLayout layout;
        layout.items = std::move(items);
        WriteSource("p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
        WriteSource("t.tgt", projectwriter::TargetFileText(layout));
    }

    // Runs tamsk-cli (args without the program name, none holding a quote) with WATCOM unset,
    // under a watchdog: a run past a minute is a hang (exit 124), a crash exits above 128.
    CliRun Cli(const std::vector<std::string>& args, const RunOptions& options = {}) {
        const std::string out = temp_.Join("run/cli.out"), err = temp_.Join("run/cli.err");
        if (before_.empty()) {
            before_ = treesnapshot::Take(temp_.path());
        }
        std::string command = "cd '" + (options.folder.empty() ? temp_.path() : options.folder) +
                              "' && env -u WATCOM timeout 60 '" TAMSK_CLI_BINARY "'";
        for (const std::string& arg : args) {
            command += " '" + arg + "'";
        }
        command += " >'" + (options.out ? std::string(options.out) : out) + "' 2>'" + err + "'";
        const int status = std::system(command.c_str());
        return {WEXITSTATUS(status), options.out ? "" : ReadWhole(out), ReadWhole(err)};
    }

    // The paths that changed since the first run, apart from mayChange_.
    std::string Changes() const {
        const treesnapshot::Snapshot after = treesnapshot::Take(temp_.path());
        std::vector<std::pair<std::string, std::string>> differing;
        std::set_symmetric_difference(before_.begin(), before_.end(), after.begin(), after.end(),
                                      std::back_inserter(differing));
        std::string changes;
        for (const auto& [path, entry] : differing) {
            if (std::none_of(mayChange_.begin(), mayChange_.end(),
                             [&](const std::string& prefix) { return path.starts_with(prefix); })) {
                changes += path + "\n";
            }
        }
        return changes;
    }

    static bool HasLine(std::string_view text, std::string_view line) {
        return ("\n" + std::string(text)).find("\n" + std::string(line) + "\n") !=
               std::string::npos;
    }

    TempDir temp_;
    std::vector<std::string> mayChange_ = {"run", "dest"};

private:
    treesnapshot::Snapshot before_;
};

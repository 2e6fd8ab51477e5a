#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/clirun.h"
#include "tests/e2e/projectwriter.h"
#include "tests/e2e/treesnapshot.h"
#include "tests/support/tempdir.h"

// A hostile project end to end: the project lives in <temp>/outer/proj, a
// copy goes to <temp>/dest, the CLI's output to <temp>/run. Each test
// snapshots the whole temporary folder first and checks afterwards that
// nothing but the destination (and the files a command is meant to write)
// changed, so sources are byte-identical and nothing lands outside.
class HostileProjectTest : public ::testing::Test {
protected:
    static constexpr std::string_view kProjectFolder = "outer/proj";

    HostileProjectTest() {
        temp_.MakeFolder("run");
        temp_.MakeFolder(kProjectFolder);
    }

    std::string Proj(std::string_view relative = {}) const {
        std::string path = temp_.Join(kProjectFolder);
        if (!relative.empty()) {
            path += "/";
            path += relative;
        }
        return path;
    }
    std::string ProjectFile() const { return Proj("p.wpj"); }
    std::string Dest() const { return temp_.Join("dest"); }

    // A project file naming one target file t.tgt with these items.
    void WriteProject(const projectwriter::TargetSpec& target) const {
        temp_.Write(std::string(kProjectFolder) + "/p.wpj",
                    projectwriter::ProjectFileText({"t.tgt"}));
        temp_.Write(std::string(kProjectFolder) + "/t.tgt", projectwriter::TargetFileText(target));
    }
    void WriteProjectWithItems(std::vector<std::string> items) const {
        projectwriter::TargetSpec layout;
        layout.items = std::move(items);
        WriteProject(layout);
    }
    std::string WriteSource(std::string_view relative, std::string_view bytes) const {
        return temp_.Write(std::string(kProjectFolder) + "/" + std::string(relative), bytes);
    }

    void Remember() { before_ = treesnapshot::Take(temp_.path()); }

    // Runs tamsk-cli and records its figures under the test's name.
    clirun::Result Cli(std::vector<std::string> args, const clirun::Options& options = {}) {
        clirun::Result result = clirun::Run(args, temp_.Join("run"), options);
        RecordFigures(result);
        EXPECT_FALSE(result.timedOut) << "tamsk-cli did not end within the watchdog";
        EXPECT_EQ(result.signal, 0) << "tamsk-cli was killed by a signal\n" << result.err;
        return result;
    }

    // What changed since Remember(), apart from the run folder and the given
    // prefixes (relative to the temporary folder); empty when nothing did.
    std::string ChangesBesides(std::initializer_list<std::string_view> allowed) const {
        const auto strip = [&](treesnapshot::Snapshot s) {
            s = treesnapshot::Without(std::move(s), {"run"});
            for (std::string_view prefix : allowed) {
                s = treesnapshot::Without(std::move(s), {prefix});
            }
            return s;
        };
        const treesnapshot::Snapshot before = strip(before_);
        const treesnapshot::Snapshot after = strip(treesnapshot::Take(temp_.path()));
        std::string changes;
        for (const auto& [path, entry] : before) {
            const auto found = after.find(path);
            if (found == after.end()) {
                changes += "removed " + path + "\n";
            } else if (!(found->second == entry)) {
                changes += "changed " + path + "\n";
            }
        }
        for (const auto& [path, entry] : after) {
            if (before.find(path) == before.end()) {
                changes += "added " + path + "\n";
            }
        }
        return changes;
    }
    std::string Changes() const { return ChangesBesides({}); }

    static std::size_t CountLines(std::string_view text) {
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    static bool HasLine(std::string_view text, std::string_view line) {
        const std::string needle = "\n" + std::string(line) + "\n";
        return ("\n" + std::string(text)).find(needle) != std::string::npos;
    }

    // The "Result" cell of the first copy row whose "Filename" cell is name,
    // or "<no row>".
    static std::string RowResult(std::string_view out, std::string_view name) {
        std::size_t start = 0;
        while (start < out.size()) {
            std::size_t end = out.find('\n', start);
            if (end == std::string_view::npos) {
                end = out.size();
            }
            const std::string_view row = out.substr(start, end - start);
            if (row.starts_with(std::string(name) + "\t")) {
                return std::string(row.substr(row.rfind('\t') + 1));
            }
            start = end + 1;
        }
        return "<no row>";
    }

    // Lets an unprivileged child through the temporary folder and the project.
    void OpenToEveryone() const {
        std::string folders[] = {temp_.path(), temp_.Join("outer"), Proj(), temp_.Join("run")};
        for (const std::string& folder : folders) {
            chmod(folder.c_str(), 0777);
        }
    }

    TempDir temp_;

private:
    // One line per run on stdout and, when TAMSK_RELIABILITY_LOG names a
    // file, appended there: the figures of docs/reliability.md.
    static void RecordFigures(const clirun::Result& result) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(info->test_suite_name()) + "." + info->name();
        char line[512];
        std::snprintf(line, sizeof line, "%s\texit %d\t%.2f s\t%.1f MB\n", name.c_str(),
                      result.exitCode, result.seconds, result.PeakMb());
        std::printf("[ figures  ] %s", line);
        if (const char* log = std::getenv("TAMSK_RELIABILITY_LOG")) {
            std::ofstream(log, std::ios::app) << line;
        }
    }

    treesnapshot::Snapshot before_;
};

// Peak memory bounds: generous, as sanitized builds need several times more,
// but far below what a runaway reader would take.
inline double MemoryBoundMb(double plainMb) {
    return clirun::kSanitized ? plainMb * 4 : plainMb;
}

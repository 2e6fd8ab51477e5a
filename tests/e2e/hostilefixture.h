#pragma once

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/projectwriter.h"
#include "tests/support/treesnapshot.h"
#include "tests/support/tempdir.h"

// Hostile projects end to end through the real tamsk-cli binary. Header-only: the e2e folder's
// *_test.cpp files are its only translation units.

// Sanitized debug builds run several times slower and take several times the memory; the
// sanitizer's runtime is linked in exactly then.
extern "C" [[gnu::weak]] void __asan_init();
inline bool Sanitized() {
    return __asan_init != nullptr;
}
inline constexpr uid_t kNobody = 65534;

// Peak memory of a forked child starts at its parent's: fork() copies the parent's high-water
// mark, and exec() keeps the larger one. So the child is this test binary again, small and
// fresh, in launcher mode (before main): it runs tamsk-cli (argv[1] on) under the watchdog and
// writes its wait status and peak memory (kB) to the file named in TAMSK_E2E_REPORT.
[[gnu::constructor]] static void LaunchIfAsked(int argc, char** argv) {
    const char* report = std::getenv("TAMSK_E2E_REPORT");
    if (report == nullptr || argc < 2) {
        return;
    }
    if (fork() == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    signal(SIGALRM, [](int) { kill(0, SIGKILL); });  // the launcher and tamsk-cli together
    alarm(Sanitized() ? 240 : 60);                   // a hang is a run past this
    int status = 0;
    rusage usage{};
    wait4(-1, &status, 0, &usage);
    if (FILE* file = std::fopen(report, "w")) {
        std::fprintf(file, "%d %ld\n", status, usage.ru_maxrss);
        std::fclose(file);
    }
    _exit(0);
}

struct CliRun {
    int exitCode = -1;  // -1 when killed by a signal or the watchdog
    int signal = 0;
    bool timedOut = false;
    double seconds = 0;
    double peakMb = 0;
    std::string out;
    std::string err;
};

struct RunOptions {
    bool asNobody = false;   // root reads and writes anything; nobody meets the modes
    rlim_t fileSizeLimit{};  // when set, writes past this many bytes fail, as on a full disk
};

// The project lives in <temp>/outer/proj, a copy goes to <temp>/dest, the CLI's output to
// <temp>/run (files: a million-row tree would fill any pipe). The first run snapshots the
// temporary folder; at the end of the test nothing but the paths in mayChange_ may differ from
// it, so sources are byte-identical and nothing lands outside the destination.
class HostileFixture : public ::testing::Test {
protected:
    HostileFixture() {
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
        return temp_.Join(relative.empty() ? "dest" : "dest/" + relative);
    }
    std::string WriteSource(const std::string& relative, std::string_view bytes) const {
        return temp_.Write("outer/proj/" + relative, bytes);
    }
    // A project file naming one target file t.tgt.
    void WriteProject(const projectwriter::TargetLayout& layout) const {
        WriteSource("p.wpj", projectwriter::ProjectFileText({"t.tgt"}));
        WriteSource("t.tgt", projectwriter::TargetFileText(layout));
    }
    void WriteProjectWithItems(std::vector<std::string> items) const {
        projectwriter::TargetLayout layout;
        layout.items = std::move(items);
        WriteProject(layout);
    }

    // Runs tamsk-cli (args without the program name) and checks that it ended by itself within
    // its memory bound.
    CliRun Cli(std::vector<std::string> args, const RunOptions& options = {}) {
        const std::string out = temp_.Join("run/cli.out"), err = temp_.Join("run/cli.err");
        const std::string report = temp_.Join("run/cli.report");
        for (const char* folder : {"", "outer", "outer/proj", "run"}) {
            if (options.asNobody) {
                chmod(temp_.Join(folder).c_str(), 0777);  // lets nobody reach the project
            }
        }
        if (before_.empty()) {
            before_ = treesnapshot::Take(temp_.path());
        }
        std::remove(report.c_str());
        args.insert(args.begin(), {"/proc/self/exe", TAMSK_CLI_BINARY});
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const bool switchUser = options.asNobody && geteuid() == 0;
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            setpgid(0, 0);
            const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            const rlimit limit{options.fileSizeLimit, options.fileSizeLimit};
            signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
            if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0 ||
                (limit.rlim_cur != 0 && setrlimit(RLIMIT_FSIZE, &limit) != 0) ||
                (switchUser &&
                 (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))) {
                _exit(126);
            }
            setenv("TAMSK_E2E_REPORT", report.c_str(), 1);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        CliRun run;
        run.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        run.timedOut = WIFSIGNALED(status);
        int cli = 0;
        long peakKb = 0;
        if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
            run.exitCode = WEXITSTATUS(status);  // the launcher failed: 126 or 127
        } else if (std::sscanf(ReadWhole(report).c_str(), "%d %ld", &cli, &peakKb) == 2) {
            run.exitCode = WIFEXITED(cli) ? WEXITSTATUS(cli) : -1;
            run.signal = WIFSIGNALED(cli) ? WTERMSIG(cli) : 0;
            run.peakMb = static_cast<double>(peakKb) / 1024.0;
        }
        run.out = ReadWhole(out);
        run.err = ReadWhole(err);
        RecordFigures(run);
        EXPECT_FALSE(run.timedOut) << "tamsk-cli did not end within the watchdog";
        EXPECT_EQ(run.signal, 0) << "tamsk-cli was killed by a signal\n" << run.err;
        // Generous, as sanitized builds need several times more, but far below what a runaway
        // reader would take.
        EXPECT_LT(run.peakMb, Sanitized() ? memoryMb_ * 4 : memoryMb_);
        return run;
    }
    CliRun Tree(std::vector<std::string> extra = {}, const RunOptions& options = {}) {
        extra.insert(extra.begin(), {"tree", ProjectFile()});
        return Cli(std::move(extra), options);
    }
    CliRun Copy(std::vector<std::string> extra = {}, const RunOptions& options = {}) {
        extra.insert(extra.begin(), {"copy", ProjectFile(), Dest()});
        return Cli(std::move(extra), options);
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
    // The "Result" cell of the first copy row whose "Filename" cell is name, or "<no row>".
    static std::string RowResult(const std::string& out, const std::string& name) {
        const std::size_t row = ("\n" + out).find("\n" + name + "\t");
        if (row == std::string::npos) {
            return "<no row>";
        }
        const std::string line = out.substr(row, out.find('\n', row) - row);
        return line.substr(line.rfind('\t') + 1);
    }

    TempDir temp_;
    double memoryMb_ = 100;  // peak memory bound of each run
    std::vector<std::string> mayChange_ = {"run", "dest"};

private:
    // One line per run on stdout and, when TAMSK_RELIABILITY_LOG names a file, appended there:
    // the figures of docs/reliability.md.
    static void RecordFigures(const CliRun& run) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::ostringstream line;
        line << test->test_suite_name() << "." << test->name() << "\texit " << run.exitCode << "\t"
             << std::fixed << std::setprecision(2) << run.seconds << " s\t" << std::setprecision(1)
             << run.peakMb << " MB\n";
        std::cout << "[ figures  ] " << line.str();
        if (const char* log = std::getenv("TAMSK_RELIABILITY_LOG")) {
            std::ofstream(log, std::ios::app) << line.str();
        }
    }

    treesnapshot::Snapshot before_;
};

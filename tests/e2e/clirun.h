#pragma once

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Runs the real tamsk-cli binary as a child process under a watchdog and
// measures it: exit code or signal, wall time, and peak resident memory from
// wait4(). Output goes to files (a million-row tree would fill any pipe).
// Header-only: the e2e folder's *_test.cpp files are its only translation
// units.
namespace clirun {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

// A hang is a run past this; sanitized debug builds run several times slower.
inline constexpr std::chrono::seconds kWatchdog{kSanitized ? 240 : 60};

struct Options {
    // Run as this user and group (root only): permissions then apply to the child.
    std::optional<uid_t> user;
    std::optional<gid_t> group;
    // RLIMIT_FSIZE: writes past this many bytes fail (EFBIG), as on a full disk.
    std::optional<rlim_t> fileSizeLimit;
    std::string workingFolder;
};

struct Result {
    int exitCode = -1;  // -1 when killed by a signal or the watchdog
    int signal = 0;
    bool timedOut = false;
    double seconds = 0;
    long peakRssKb = 0;
    std::string out;
    std::string err;

    double PeakMb() const { return static_cast<double>(peakRssKb) / 1024.0; }
};

inline std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// args excludes the program name. outFolder receives cli.out and cli.err.
inline Result Run(const std::vector<std::string>& args, const std::string& outFolder,
                  const Options& options = {}) {
    const std::string outPath = outFolder + "/cli.out";
    const std::string errPath = outFolder + "/cli.err";
    std::vector<std::string> argv{TAMSK_CLI_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
            _exit(126);
        }
        if (!options.workingFolder.empty() && chdir(options.workingFolder.c_str()) != 0) {
            _exit(126);
        }
        if (options.fileSizeLimit) {
            signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
            const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (options.group && (setgroups(0, nullptr) != 0 || setgid(*options.group) != 0)) {
            _exit(126);
        }
        if (options.user && setuid(*options.user) != 0) {
            _exit(126);
        }
        execv(pointers[0], pointers.data());
        _exit(127);
    }

    Result result;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) {
            break;
        }
        if (std::chrono::steady_clock::now() - start > kWatchdog) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.peakRssKb = usage.ru_maxrss;
    if (WIFEXITED(status) && !result.timedOut) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    result.out = ReadFileText(outPath);
    result.err = ReadFileText(errPath);
    return result;
}

}  // namespace clirun

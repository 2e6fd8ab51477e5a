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
#include <string_view>
#include <thread>
#include <vector>

// Runs the real tamsk-cli binary as a child process under a watchdog and
// measures it: exit code or signal, wall time, and peak resident memory from
// wait4() (through a fresh launcher, see LaunchIfAsked). Output goes to files (a million-row tree
// would fill any pipe). Header-only: the e2e folder's *_test.cpp files are its only translation
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

// Peak memory of a forked child starts at its parent's: fork() copies the
// parent's high-water mark, and exec() keeps the larger one. So the child is
// this test binary again, small and fresh, in launcher mode: it forks the
// real tamsk-cli, waits for it and writes its status and peak memory (kB) to
// the descriptor named in TAMSK_E2E_LAUNCH_FD. Runs before main(), once.
inline constexpr std::string_view kLaunchFlag = "--tamsk-e2e-launch";

inline bool LaunchIfAsked() {
    const char* fdText = std::getenv("TAMSK_E2E_LAUNCH_FD");
    if (fdText == nullptr) {
        return false;
    }
    const std::string cmdline = ReadFileText("/proc/self/cmdline");
    std::vector<std::string> args;
    for (std::size_t start = 0; start < cmdline.size();) {
        const std::size_t end = cmdline.find('\0', start);
        args.push_back(cmdline.substr(start, end - start));
        start = end == std::string::npos ? cmdline.size() : end + 1;
    }
    if (args.size() < 3 || args[1] != kLaunchFlag) {
        return false;
    }
    const int report = std::atoi(fdText);
    fcntl(report, F_SETFD, FD_CLOEXEC);
    std::vector<char*> pointers;
    for (std::size_t i = 2; i < args.size(); ++i) {
        pointers.push_back(args[i].data());
    }
    pointers.push_back(nullptr);
    const pid_t cli = fork();
    if (cli == 0) {
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(cli, &status, 0, &usage);
    dprintf(report, "%d %ld\n", status, usage.ru_maxrss);
    _exit(0);
}

inline const bool kLauncherChecked = LaunchIfAsked();

// args excludes the program name. outFolder receives cli.out and cli.err.
inline Result Run(const std::vector<std::string>& args, const std::string& outFolder,
                  const Options& options = {}) {
    const std::string outPath = outFolder + "/cli.out";
    const std::string errPath = outFolder + "/cli.err";
    std::vector<std::string> argv{"/proc/self/exe", std::string(kLaunchFlag), TAMSK_CLI_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    int report[2];
    if (pipe(report) != 0) {
        return {};
    }

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);  // the watchdog ends the launcher and tamsk-cli together
        close(report[0]);
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
        setenv("TAMSK_E2E_LAUNCH_FD", std::to_string(report[1]).c_str(), 1);
        execv("/proc/self/exe", pointers.data());
        _exit(127);
    }
    close(report[1]);

    Result result;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            break;
        }
        if (std::chrono::steady_clock::now() - start > kWatchdog) {
            kill(-child, SIGKILL);
            waitpid(child, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char text[64] = {};
    const ssize_t n = read(report[0], text, sizeof text - 1);
    close(report[0]);
    int cliStatus = 0;
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        result.exitCode = WEXITSTATUS(status);  // the launcher failed: 126 or 127
    } else if (n > 0 && std::sscanf(text, "%d %ld", &cliStatus, &result.peakRssKb) == 2) {
        if (WIFEXITED(cliStatus)) {
            result.exitCode = WEXITSTATUS(cliStatus);
        } else if (WIFSIGNALED(cliStatus)) {
            result.signal = WTERMSIG(cliStatus);
        }
    }
    result.out = ReadFileText(outPath);
    result.err = ReadFileText(errPath);
    return result;
}

}  // namespace clirun

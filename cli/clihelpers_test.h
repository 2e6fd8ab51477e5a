#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/runcli.h"
#include "tests/support/environment.h"
#include "tests/support/tempdir.h"

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tamsk-cli in-process with WATCOM unset, so that the compiler folder expands to nothing
// as the expected files assume.
inline CliRun Cli(const std::vector<std::string>& args) {
    UnsetEnvironment("WATCOM");
    std::vector<std::string> full = {"tamsk-cli"};
    full.insert(full.end(), args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.exitCode = RunCli(full, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// Runs the real binary, as a user would; returns its output and pclose status.
// Arguments are quoted with '...'.
inline CliRun RealCli(std::string arguments) {
#ifdef _WIN32
    // cmd.exe quotes with "..." and drops the outermost pair of the whole line.
    std::replace(arguments.begin(), arguments.end(), '\'', '"');
    UnsetEnvironment("WATCOM");
    const std::string command = std::string("\"\"") + TAMSK_CLI_BINARY + "\" " + arguments + "\"";
    FILE* pipe = ::_popen(command.c_str(), "rb");
    const auto close = [](FILE* opened) { return ::_pclose(opened); };
#else
    const std::string command =
        std::string("env -u WATCOM '") + TAMSK_CLI_BINARY + "' " + arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    const auto close = [](FILE* opened) { return ::pclose(opened); };
#endif
    CliRun run;
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, got);
    }
    run.exitCode = close(pipe);
    return run;
}

inline std::string ShapesProject() {
    return ExamplesFolder() + "/shapes/shapes.wpj";
}

inline std::string Expected(const std::string& name) {
    return ReadWhole(ExamplesFolder() + "/shapes/expected/" + name);
}

// The example copied into dir (shapes/ and the common/ folder beside it, which the project
// lists), so that writing commands touch nothing in the source tree.
inline std::string CopyOfExample(const TempDir& dir) {
    namespace fs = std::filesystem;
    const fs::path examples(ExamplesFolder());
    fs::copy(examples / "shapes", fs::path(dir.Join("shapes")), fs::copy_options::recursive);
    fs::copy(examples / "common", fs::path(dir.Join("common")), fs::copy_options::recursive);
    return dir.Join("shapes/shapes.wpj");
}

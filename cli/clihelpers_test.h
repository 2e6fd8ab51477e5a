#pragma once

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/runcli.h"
#include "tests/support/tempdir.h"

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tamsk-cli in-process with WATCOM unset, so that the compiler folder expands to nothing
// as the expected files assume.
inline CliRun Cli(const std::vector<std::string>& args, HostFs& fs,
                  std::size_t nodeLimit = kDefaultNodeLimit) {
    ::unsetenv("WATCOM");
    std::vector<std::string> full = {"tamsk-cli"};
    full.insert(full.end(), args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.exitCode = RunCli(full, out, err, CliHost{fs, nodeLimit});
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline CliRun Cli(const std::vector<std::string>& args) {
    NativeHostFs fs;
    return Cli(args, fs);
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

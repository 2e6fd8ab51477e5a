#pragma once

// Runs tamsk-cli in-process for the cli tests. Header-only: only the cli
// tests link the command line library.

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/runcli.h"
#include "tests/support/environment.h"
#include "tests/support/tempdir.h"

using CliArgs = std::vector<std::string>;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tamsk-cli with WATCOM unset, as the expected files assume.
inline CliRun Cli(CliArgs args, HostFs* fs = nullptr, std::size_t nodeLimit = kDefaultNodeLimit) {
    UnsetEnvironment("WATCOM");
    args.insert(args.begin(), "tamsk-cli");
    std::ostringstream out;
    std::ostringstream err;
    NativeHostFs native;
    const int exitCode = RunCli(args, out, err, CliHost{fs ? *fs : native, nodeLimit});
    return {exitCode, out.str(), err.str()};
}

// text with every '%' replaced by the temporary folder.
inline std::string Filled(std::string_view text, const TempDir& dir) {
    return Substituted(text, {{'%', dir.path()}});
}

// On Windows the program names paths with backslashes, the tests with slashes.
inline std::string Slashed(std::string text) {
#ifdef _WIN32
    std::replace(text.begin(), text.end(), '\\', '/');
#endif
    return text;
}

#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "classlib/core/hostfs.h"
#include "project/projecttree.h"

// Exit codes of tamsk-cli.
enum CliExit : int {
    ExitOk = 0,
    // a copy row failed, a target file could not be read, the load stopped at
    // its work limit, a write failed (standard output and error included)
    ExitSomeWorkFailed = 1,
    ExitUsage = 2,  // bad arguments, or a project file that cannot be read or is none
};

// What the commands work on: the host's file system and the work limit of a
// load, unless a test gives its own.
struct CliHost {
    HostFs& fs;
    std::size_t nodeLimit = kDefaultNodeLimit;
    // What a command loaded is left to the end of the process (see CommandLoad).
    bool leaveLoadsToExit = false;
};

// The program tamsk-cli: RunCli on the host's file system, leaving what it
// loaded to the end of the process, which takes the memory back at once
// (except under a leak checker, which would take it for leaks).
int RunCliProcess(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The whole command line tool; args[0] is the program name.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliHost& host);

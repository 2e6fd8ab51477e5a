#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes of tamsk-cli.
enum CliExit : int {
    ExitOk = 0,
    ExitSomeWorkFailed = 1,  // a copy row failed, the scan stopped at its limit, a write failed
    ExitUsage = 2,           // bad arguments or an unreadable project file
};

// The whole command line tool; args[0] is the program name.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#pragma once

#include <ostream>
#include <string>

#include "project/projecttree.h"

// Each subcommand of tamsk-cli; results are exit codes (see runcli.h).
int RunTreeCommand(const std::string& project, ParseLiterals parseLiterals, std::ostream& out,
                   std::ostream& err);
int RunExportCommand(const std::string& project, ParseLiterals parseLiterals, std::ostream& out,
                     std::ostream& err);
int RunCopyCommand(const std::string& project, const std::string& destination,
                   ParseLiterals parseLiterals, std::ostream& out, std::ostream& err);

// Shared by the subcommands: loads the project with its dependency scan,
// writing the one-line message for an unreadable project file or the warning
// for a scan stopped at its limit to err. Returns ExitUsage, or ExitOk /
// ExitSomeWorkFailed for a load that happened.
int LoadForCli(WTreeStore& tree, const std::string& project, ParseLiterals parseLiterals,
               std::ostream& err);

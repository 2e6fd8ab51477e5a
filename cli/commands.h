#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/runcli.h"
#include "depscan/projectwalk.h"
#include "project/projecttree.h"

// Each subcommand of tamsk-cli; results are exit codes (see runcli.h). The
// project path is absolute, as the load dialog of the window gives it.
int RunTreeCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                   std::ostream& out, std::ostream& err);
int RunExportCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                     std::ostream& out, std::ostream& err);
int RunStatsCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                    std::ostream& out, std::ostream& err);
// The formats of `deps`, and the commands on a project's names.
enum class DepsFormat { Json, Make, Dot, CompileCommands };
int RunDepsCommand(const std::string& project, DepsFormat format, const std::string& outputPath,
                   ParseLiterals parseLiterals, const CliHost& host, std::ostream& out,
                   std::ostream& err);
int RunMissingCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                      std::ostream& out, std::ostream& err);
int RunIncludersCommand(const std::string& project, const std::string& file,
                        ParseLiterals parseLiterals, const CliHost& host, std::ostream& out,
                        std::ostream& err);
int RunCyclesCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                     std::ostream& out, std::ostream& err);
int RunCopyCommand(const std::string& project, const std::string& destination,
                   ParseLiterals parseLiterals, const CliHost& host, std::ostream& out,
                   std::ostream& err);

// What a command loads (a tree, a LoadedProject): freed when the command
// ends, or left to the end of the process when the host says so.
template <typename Loaded>
class CommandLoad {
public:
    explicit CommandLoad(const CliHost& host)
        : loaded_(std::make_unique<Loaded>()), leave_(host.leaveLoadsToExit) {}
    ~CommandLoad() {
        if (leave_) {
            static_cast<void>(loaded_.release());
        }
    }
    CommandLoad(const CommandLoad&) = delete;
    CommandLoad& operator=(const CommandLoad&) = delete;
    Loaded& operator*() { return *loaded_; }

private:
    std::unique_ptr<Loaded> loaded_;
    bool leave_;
};

// Shared by the subcommands: refuses a file that is not a project, loads the
// project with its dependency scan and writes one line to err for each
// problem met (an unreadable target file, a file too large to scan, the work
// limit reached). Returns ExitUsage, or ExitOk / ExitSomeWorkFailed for a
// load that happened.
int LoadForCli(WTreeStore& tree, const std::string& project, ParseLiterals parseLiterals,
               const CliHost& host, std::ostream& err, ScanNotes* notes = nullptr);

// For the commands that read a project through its walk: loads it, keeping
// what the scan notes, and runs work with it and the load's exit code when the
// load happened; returns work's code, or ExitUsage.
int RunOnLoadedProject(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                       std::ostream& err,
                       const std::function<int(const LoadedProject&, int loadStatus)>& work);

// What stopped at the work limit: the load (the project's reader, or the walk
// that fills the file lists), or a walk over the loaded tree that makes an
// output (tree, export, stats, deps and the others).
enum class StoppedWork { Load, Walk };
// The warning of work that stopped at the work limit after nodes nodes.
void ReportWorkLimit(std::ostream& err, StoppedWork work, std::size_t nodes);

// Writes "tamsk-cli: " and text as one line: control characters in text
// (from file names) are written as blanks.
void ReportLine(std::ostream& err, std::string_view text);

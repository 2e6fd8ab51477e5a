#include <string>

#include "classlib/core/messagetext.h"
#include "cli/commands.h"
#include "depscan/projectload.h"
#include "project/projectfilescan.h"
#include "project/treewalk.h"

void ReportLine(std::ostream& err, std::string_view text) {
    std::string line = "tamsk-cli: ";
    // Paths as the host writes them: with '\\' on Windows.
    AppendAsLine(line, WithPathSeparatorsOf(text, kHostPathStyle));
    line += '\n';
    err << line;
}

void ReportWorkLimit(std::ostream& err, StoppedWork work, std::size_t nodes) {
    const std::string after =
        " stopped at its work limit after " + std::to_string(nodes) + " nodes; ";
    ReportLine(err, work == StoppedWork::Load
                        ? "warning: the load" + after + "the tree is incomplete"
                        : "warning: the walk over the tree" + after + "the output is incomplete");
}

int LoadForCli(WTreeStore& tree, const std::string& project, ParseLiterals parseLiterals,
               const CliHost& host, std::ostream& err, ScanNotes* notes) {
    std::string complaint;
    if (CheckProjectFile(host.fs, project, complaint) != ProjectFileCheck::Project) {
        ReportLine(err, complaint);
        return ExitUsage;
    }
    ScanOutcome outcome;
    if (!LoadProjectWithDependencies(tree, WFilePath(std::string_view(project)), host.fs,
                                     parseLiterals, &outcome, host.nodeLimit, notes)) {
        ReportLine(err, "cannot read project file: " + project);
        return ExitUsage;
    }
    for (const std::string& problem : outcome.problems) {
        ReportLine(err, problem);
    }
    if (!outcome.complete) {
        ReportWorkLimit(err, StoppedWork::Load, tree.Count());
    }
    return outcome.complete && outcome.problems.empty() ? ExitOk : ExitSomeWorkFailed;
}

int RunOnLoadedProject(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                       std::ostream& err,
                       const std::function<int(const LoadedProject&, int loadStatus)>& work) {
    CommandLoad<LoadedProject> load(host);
    LoadedProject& loaded = *load;
    loaded.nodeLimit = host.nodeLimit;
    const int status = LoadForCli(loaded.tree, project, parseLiterals, host, err, &loaded.notes);
    if (status == ExitUsage) {
        return status;
    }
    const int worked = work(loaded, status);
    if (loaded.walkStopped) {
        ReportWorkLimit(err, StoppedWork::Walk, loaded.nodeLimit);
        return worked == ExitOk ? ExitSomeWorkFailed : worked;
    }
    return worked;
}

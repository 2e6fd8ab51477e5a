#include <string>

#include "cli/commands.h"
#include "depscan/projectload.h"
#include "project/linesource.h"
#include "project/treewalk.h"

namespace {

bool IsNumber(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Every project file the IDE writes, in either form, begins with its version
// number followed by "projectIdent"; the reader itself looks at neither, so a
// command line user who names a source or a binary is told here.
bool BeginsAsAProject(LineSource& lines) {
    std::string_view version;
    std::string_view ident;
    return lines.Next(version) && IsNumber(version) && lines.Next(ident) && ident == "projectIdent";
}

}  // namespace

void ReportLine(std::ostream& err, std::string_view text) {
    std::string line = "tamsk-cli: ";
    AppendAsLine(line, text);
    line += '\n';
    err << line;
}

int LoadForCli(WTreeStore& tree, const std::string& project, ParseLiterals parseLiterals,
               const CliHost& host, std::ostream& err, ScanNotes* notes) {
    LineSource lines;
    if (const HostStatus read = lines.Load(host.fs, project); !read.ok()) {
        ReportLine(err, "cannot read project file: " + read.reason);
        return ExitUsage;
    }
    if (!BeginsAsAProject(lines)) {
        ReportLine(err, project + " is not a Watcom IDE project file");
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
        ReportLine(err, "warning: the load stopped at its work limit after " +
                            std::to_string(tree.Count()) + " nodes; the tree is incomplete");
    }
    return outcome.complete && outcome.problems.empty() ? ExitOk : ExitSomeWorkFailed;
}

int RunOnLoadedProject(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                       std::ostream& err,
                       const std::function<int(const LoadedProject&, int loadStatus)>& work) {
    LoadedProject loaded;
    const int status = LoadForCli(loaded.tree, project, parseLiterals, host, err, &loaded.notes);
    return status == ExitUsage ? status : work(loaded, status);
}

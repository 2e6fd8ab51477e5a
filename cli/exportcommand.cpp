#include <string>

#include "cli/commands.h"
#include "copy/copyrun.h"
#include "depscan/depfile.h"

int RunExportCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                     std::ostream& out, std::ostream& err) {
    WTreeStore tree;
    const int loaded = LoadForCli(tree, project, parseLiterals, host, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    const WString path = DependencyFilePath(project);
    if (IsReadByProject(tree, path.View(), host.fs)) {
        ReportLine(err, "cannot write the dependency file: " + path.Str() +
                            ": is a file this project reads; left untouched");
        return ExitSomeWorkFailed;
    }
    std::string reason;
    std::size_t lines = 0;
    switch (ExportDependencies(tree, path.View(), host.fs, &reason, host.nodeLimit, &lines)) {
        case ExportResult::Written:
            out << path.View() << "\n";
            return loaded;
        case ExportResult::Stopped:
            out << path.View() << "\n";
            ReportWorkLimit(err, lines);
            return ExitSomeWorkFailed;
        case ExportResult::EmptyTree:
            return loaded;
        case ExportResult::Failed:
            ReportLine(err, "cannot write the dependency file: " + reason);
            return ExitSomeWorkFailed;
    }
    return ExitSomeWorkFailed;
}

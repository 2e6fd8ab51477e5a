#include <string>

#include "cli/commands.h"
#include "depscan/depfile.h"
#include "project/projectfiles.h"
#include "project/treewalk.h"

int RunExportCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                     std::ostream& out, std::ostream& err) {
    CommandLoad<WTreeStore> load(host);
    WTreeStore& tree = *load;
    const int loaded = LoadForCli(tree, project, parseLiterals, host, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    // Into the project's folder as the system found it: typed in another
    // case, the folder is the one on disk; the name is as given.
    const WString typed = DependencyFilePath(project);
    const std::string path =
        host.fs.Resolve(FolderOfPath(typed.View())) + std::string(FileNameOfPath(typed.View()));
    if (IsReadByProject(tree, path, host.fs)) {
        ReportLine(err, "cannot write the dependency file: " + ReadByProjectRefusal(path));
        return ExitSomeWorkFailed;
    }
    std::string reason;
    std::size_t lines = 0;
    const ExportResult result =
        ExportDependencies(tree, path, host.fs, &reason, host.nodeLimit, &lines);
    switch (result) {
        case ExportResult::Written:
        case ExportResult::Stopped: {
            std::string line;
            AppendAsLine(line, path);
            out << line << "\n";
            if (result == ExportResult::Stopped) {
                ReportWorkLimit(err, StoppedWork::Walk, lines);
                return ExitSomeWorkFailed;
            }
            return loaded;
        }
        case ExportResult::EmptyTree:
            return loaded;
        case ExportResult::Failed:
            ReportLine(err, "cannot write the dependency file: " + reason);
            return ExitSomeWorkFailed;
    }
    return ExitSomeWorkFailed;
}

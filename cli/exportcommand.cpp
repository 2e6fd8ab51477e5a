#include <string>

#include "cli/commands.h"
#include "cli/runcli.h"
#include "depscan/depfile.h"

int RunExportCommand(const std::string& project, ParseLiterals parseLiterals, std::ostream& out,
                     std::ostream& err) {
    WTreeStore tree;
    const int loaded = LoadForCli(tree, project, parseLiterals, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    const WString path = DependencyFilePath(project);
    NativeHostFs fs;
    std::string reason;
    switch (ExportDependencies(tree, path.View(), fs, &reason)) {
        case ExportResult::Written:
            out << path.View() << "\n";
            return loaded;
        case ExportResult::EmptyTree:
            return loaded;
        case ExportResult::Failed:
            err << "tamsk-cli: cannot write " << path.View() << ": " << reason << "\n";
            return ExitSomeWorkFailed;
    }
    return ExitSomeWorkFailed;
}

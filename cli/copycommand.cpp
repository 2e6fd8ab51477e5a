#include <string>

#include "cli/commands.h"
#include "cli/runcli.h"
#include "copy/copyrun.h"

int RunCopyCommand(const std::string& project, const std::string& destination,
                   ParseLiterals parseLiterals, std::ostream& out, std::ostream& err) {
    WTreeStore tree;
    const int loaded = LoadForCli(tree, project, parseLiterals, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    WListStore results;
    results.AddColumn("Filename", WListStore::kAppend, WListStore::kFitCellsAndHeader);
    results.AddColumn("Destination Folder", WListStore::kAppend, WListStore::kFitCellsAndHeader);
    results.AddColumn("Result", WListStore::kAppend, WListStore::kFitCellsAndHeader);
    NativeHostFs fs;
    const CopyRunSummary summary = RunProjectCopy(tree, destination, results, fs);
    for (int row = 0; row < results.RowCount(); ++row) {
        out << results.Cell(row, 0) << "\t" << results.Cell(row, 1) << "\t" << results.Cell(row, 2)
            << "\n";
    }
    if (summary.failed > 0) {
        return ExitSomeWorkFailed;
    }
    return loaded;
}

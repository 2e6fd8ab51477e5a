#include <string>

#include "cli/commands.h"
#include "copy/copycolumns.h"
#include "copy/copyrun.h"
#include "project/treewalk.h"

int RunCopyCommand(const std::string& project, const std::string& destination,
                   ParseLiterals parseLiterals, const CliHost& host, std::ostream& out,
                   std::ostream& err) {
    CommandLoad<WTreeStore> load(host);
    WTreeStore& tree = *load;
    const int loaded = LoadForCli(tree, project, parseLiterals, host, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    WListStore results;
    for (const std::string_view header : kCopyColumnHeaders) {
        results.AddColumn(header, WListStore::kAppend, WListStore::kFitCellsAndHeader);
    }
    const CopyRunSummary summary = RunProjectCopy(tree, destination, results, host.fs);
    // One line per row, whatever the names hold.
    std::string line;
    for (int row = 0; row < results.RowCount(); ++row) {
        line.clear();
        for (int column = 0; column < 3; ++column) {
            AppendAsLine(line, results.Cell(row, column));
            line += column < 2 ? '\t' : '\n';
        }
        out << line;
    }
    for (const std::string& reason : summary.reasons) {
        ReportLine(err, reason);
    }
    return summary.failed > 0 ? ExitSomeWorkFailed : loaded;
}

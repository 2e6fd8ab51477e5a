#include <string>

#include "cli/commands.h"
#include "depscan/dependencyscan.h"
#include "project/treewalk.h"

namespace {

void WriteCount(std::ostream& out, std::string_view name, std::size_t value) {
    out << name << ": " << value << "\n";
}

}  // namespace

// One "name: value" line each, a blank line between the blocks: each target's
// block names it first, the totals come last.
int RunStatsCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                    std::ostream& out, std::ostream& err) {
    CommandLoad<WTreeStore> load(host);
    WTreeStore& tree = *load;
    const int loaded = LoadForCli(tree, project, parseLiterals, host, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    const DependencyStats stats = CountDependencies(tree, host.nodeLimit);
    DependencyStats::Target total;
    std::string line;
    for (const DependencyStats::Target& target : stats.targets) {
        line = "target: ";
        AppendAsLine(line, target.label);
        out << line << "\n";
        WriteCount(out, "sources", target.sources);
        WriteCount(out, "unique files", target.uniqueFiles);
        WriteCount(out, "include edges", target.includeEdges);
        WriteCount(out, "files not found", target.filesNotFound);
        WriteCount(out, "expanded nodes", target.expandedNodes);
        out << "\n";
        total.sources += target.sources;
        total.includeEdges += target.includeEdges;
        total.filesNotFound += target.filesNotFound;
    }
    out << "total\n";
    WriteCount(out, "targets", stats.targets.size());
    WriteCount(out, "sources", total.sources);
    WriteCount(out, "unique files", stats.uniqueFiles);
    WriteCount(out, "include edges", total.includeEdges);
    WriteCount(out, "files not found", total.filesNotFound);
    WriteCount(out, "expanded nodes", stats.expandedNodes);
    if (!stats.complete) {
        ReportWorkLimit(err, StoppedWork::Walk, host.nodeLimit);
        return ExitSomeWorkFailed;
    }
    return loaded;
}

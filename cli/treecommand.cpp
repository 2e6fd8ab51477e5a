#include "cli/commands.h"
#include "project/treewalk.h"

int RunTreeCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                   std::ostream& out, std::ostream& err) {
    CommandLoad<WTreeStore> load(host);
    WTreeStore& tree = *load;
    const int loaded = LoadForCli(tree, project, parseLiterals, host, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    std::size_t lines = 0;
    const bool complete = DumpTree(tree, tree.FirstRoot(), out, 0, "\n", host.nodeLimit, &lines);
    if (!complete) {
        ReportWorkLimit(err, StoppedWork::Walk, lines);
        return ExitSomeWorkFailed;
    }
    return loaded;
}

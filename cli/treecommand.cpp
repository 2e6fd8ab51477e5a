#include "cli/commands.h"

int RunTreeCommand(const std::string& project, ParseLiterals parseLiterals, const CliHost& host,
                   std::ostream& out, std::ostream& err) {
    WTreeStore tree;
    const int loaded = LoadForCli(tree, project, parseLiterals, host, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    DumpTree(tree, tree.FirstRoot(), out, 0);
    return loaded;
}

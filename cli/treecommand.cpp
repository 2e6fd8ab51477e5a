#include "cli/commands.h"

#include "cli/runcli.h"
#include "depscan/projectload.h"

int LoadForCli(WTreeStore& tree, const std::string& project, ParseLiterals parseLiterals,
               std::ostream& err) {
    NativeHostFs fs;
    ScanOutcome outcome;
    if (!LoadProjectWithDependencies(tree, WFilePath(std::string_view(project)), fs, parseLiterals,
                                     &outcome)) {
        err << "tamsk-cli: cannot read project file " << project << "\n";
        return ExitUsage;
    }
    if (!outcome.complete) {
        err << "tamsk-cli: warning: the dependency scan stopped at its limit after "
            << outcome.nodesAdded << " nodes; the tree is incomplete\n";
        return ExitSomeWorkFailed;
    }
    return ExitOk;
}

int RunTreeCommand(const std::string& project, ParseLiterals parseLiterals, std::ostream& out,
                   std::ostream& err) {
    WTreeStore tree;
    const int loaded = LoadForCli(tree, project, parseLiterals, err);
    if (loaded == ExitUsage) {
        return loaded;
    }
    DumpTree(tree, tree.FirstRoot(), out, 0);
    out.flush();
    return loaded;
}

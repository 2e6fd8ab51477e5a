#include "depscan/projectload.h"

#include <algorithm>

#include "depscan/dependencyscan.h"

bool LoadProjectWithDependencies(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                                 ParseLiterals parseLiterals, ScanOutcome* outcome,
                                 std::size_t nodeLimit, ScanNotes* notes) {
    const DependencyScan scan = [&fs, nodeLimit, notes](WTreeStore& scannedTree,
                                                        const WString& projectFolder,
                                                        ParseLiterals parse) {
        ScanOptions options = ScanOptions::ForLoad(parse);
        options.notes = notes;
        if (notes != nullptr) {
            notes->compilerFolder = options.compilerFolder;
        }
        // The reader's nodes count toward the same limit.
        options.nodeLimit = nodeLimit - std::min(nodeLimit, scannedTree.Count());
        return BuildDependencies(scannedTree, projectFolder, fs, options);
    };
    return LoadProject(tree, projectPath, fs, parseLiterals, scan, outcome, nodeLimit);
}

#include "depscan/projectload.h"

#include "depscan/dependencyscan.h"

bool LoadProjectWithDependencies(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                                 ParseLiterals parseLiterals, ScanOutcome* outcome) {
    const DependencyScan scan = [&fs](WTreeStore& scannedTree, const WString& projectFolder,
                                      ParseLiterals parse) {
        return BuildDependencies(scannedTree, projectFolder, fs, ScanOptions::ForLoad(parse));
    };
    return LoadProject(tree, projectPath, fs, parseLiterals, scan, outcome);
}

#pragma once

#include <ostream>

#include "classlib/core/hostfs.h"
#include "depscan/projectwalk.h"

// The outputs of `tamsk-cli deps`, each written as a stream from the project
// walk (docs/deps-formats.md describes them). Each returns false when the
// stream failed.

// One JSON document holding everything the tree holds.
bool WriteDepsJson(const LoadedProject& project, std::ostream& out);
// A make rule per compiled source, an empty rule per header; names relative
// to each target's folder, spelt as the file system spells them.
bool WriteMakeRules(const LoadedProject& project, HostFs& fs, std::ostream& out);
// A Graphviz digraph: a node per file, an edge per including pair, a cluster
// per target holding its sources.
bool WriteDot(const LoadedProject& project, std::ostream& out);
// A compilation database for tools that index the code (not to build it).
bool WriteCompileCommands(const LoadedProject& project, HostFs& fs, std::ostream& out);

// The version of the JSON document; it grows when fields are added.
inline constexpr int kDepsJsonVersion = 1;

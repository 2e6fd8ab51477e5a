#include "depscan/depfile.h"

#include <string>

#include "classlib/core/wfilepath.h"
#include "project/projecttree.h"
#include "project/treewalk.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kBlockSize = 1 << 20;

// The lines of DumpTree (pre-order from node across its following siblings,
// one blank of indent per level, CR LF ends), gathered into large blocks
// before they reach the stream: a large project writes tens of millions of
// short lines, and a stream call per piece would cost more than the disk.
bool WriteTreeLines(const WTreeStore& tree, WTreeItem node, std::ostream& out) {
    std::string block;
    block.reserve(kBlockSize + 4096);
    WalkTree(tree, node, 0, [&](int level, std::string_view label) {
        block.append(static_cast<std::size_t>(level), ' ');
        AppendAsLine(block, label);
        block.append(kLineEnd);
        if (block.size() >= kBlockSize) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    });
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    return static_cast<bool>(out);
}

}  // namespace

WString DependencyFilePath(std::string_view projectPath) {
    WString path = WFilePath(projectPath).GetPart(WFilePath::WithoutExtension);
    path.Concat("_dep.Txt");
    return path;
}

ExportResult ExportDependencies(const WTreeStore& tree, std::string_view path, HostFs& fs,
                                std::string* reason) {
    const WTreeItem first = tree.FirstRoot();
    if (first == kNoItem) {
        return ExportResult::EmptyTree;
    }
    // Streamed line by line: the text of a large project runs to hundreds of
    // megabytes and is never held whole. The file is the same on every host.
    const HostStatus status = fs.WriteFileAtomically(
        path, [&](std::ostream& out) { return WriteTreeLines(tree, first, out); });
    if (!status.ok()) {
        if (reason != nullptr) {
            *reason = status.reason;
        }
        return ExportResult::Failed;
    }
    return ExportResult::Written;
}

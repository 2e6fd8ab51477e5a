#include "depscan/depfile.h"

#include <string>

#include "classlib/core/wfilepath.h"
#include "depscan/dependencyview.h"
#include "project/projecttree.h"
#include "project/treewalk.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kBlockSize = 1 << 20;

// The lines of DumpTree (pre-order from node across its following siblings,
// one blank of indent per level, CR LF ends), gathered into large blocks
// before they reach the stream: a large project writes tens of millions of
// short lines, and a stream call per piece would cost more than the disk.
bool WriteTreeLines(const WTreeStore& tree, WTreeItem node, std::ostream& out,
                    std::size_t nodeLimit, std::size_t& lines, bool& stopped) {
    // Not reserved ahead: most trees are small, and the block grows to its size once on a
    // large one and keeps its room across the flushes.
    std::string block;
    const auto flush = [&](std::string& text) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    };
    DependencyView* view = DependencyViewOf(tree);
    stopped = !WalkTree(tree, node, 0, [&](int level, std::string_view label, WTreeItem item) {
        if (lines == nodeLimit) {
            return WTreeWalkStep::Stop;
        }
        ++lines;
        block.append(static_cast<std::size_t>(level), ' ');
        AppendAsLine(block, label);
        block.append(kLineEnd);
        WTreeWalkStep step = WTreeWalkStep::Continue;
        if (view != nullptr && item != kNoItem && view->Provides(item)) {
            // The dependency nodes below, with the text of recurring subtrees copied.
            bool complete = true;
            lines += view->AppendLines(tree, item, level, block, kLineEnd, nodeLimit - lines,
                                       complete, flush);
            step = complete ? WTreeWalkStep::SkipChildren : WTreeWalkStep::Stop;
        }
        if (block.size() >= kBlockSize) {
            flush(block);
        }
        return step;
    });
    flush(block);
    return static_cast<bool>(out);
}

}  // namespace

WString DependencyFilePath(std::string_view projectPath) {
    WString path = WFilePath(projectPath).GetPart(WFilePath::WithoutExtension);
    path.Concat("_dep.Txt");
    return path;
}

ExportResult ExportDependencies(const WTreeStore& tree, std::string_view path, HostFs& fs,
                                std::string* reason, std::size_t nodeLimit, std::size_t* lines) {
    const WTreeItem first = tree.FirstRoot();
    if (first == kNoItem) {
        return ExportResult::EmptyTree;
    }
    // Streamed line by line: the text of a large project runs to hundreds of
    // megabytes and is never held whole. The file is the same on every host.
    std::size_t written = 0;
    bool stopped = false;
    const HostStatus status = fs.WriteFileAtomically(path, [&](std::ostream& out) {
        written = 0;
        return WriteTreeLines(tree, first, out, nodeLimit, written, stopped);
    });
    if (lines != nullptr) {
        *lines = written;
    }
    if (!status.ok()) {
        if (reason != nullptr) {
            *reason = status.reason;
        }
        return ExportResult::Failed;
    }
    return stopped ? ExportResult::Stopped : ExportResult::Written;
}

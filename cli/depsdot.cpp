#include <string>
#include <unordered_set>
#include <vector>

#include "classlib/core/utf16.h"
#include "cli/depsformats.h"
#include "cli/filekeys.h"
#include "cli/jsonstream.h"
#include "project/targetlabel.h"
#include "project/treewalk.h"

namespace {

// A quoted Graphviz string: '"' and '\' escaped, control characters as
// blanks, UTF-8 (Graphviz's default charset).
void AppendDotString(std::string& text, std::string_view value) {
    std::string plain;
    AppendAsLine(plain, Utf8OrLatin1(value));
    text += '"';
    for (const char c : plain) {
        if (c == '"' || c == '\\') {
            text += '\\';
        }
        text += c;
    }
    text += '"';
}

// A node belongs to at most one cluster (Graphviz warns otherwise): a source
// shared by several targets stands in the cluster of the first. Nodes and
// edges met outside a cluster are written after it closes, since whatever a
// cluster's statements name becomes part of it.
class DotVisitor : public ProjectVisitor {
public:
    explicit DotVisitor(std::ostream& out) : out_(out) {}

    void BeginTarget(const TargetFacts& target) override {
        files_.BeginTarget(target.folder);
        expandedBefore_.clear();
        cluster_ += "  subgraph \"cluster_" + std::to_string(++clusters_) + "\" {\n    label=";
        AppendDotString(cluster_, TargetLabel(target.name, target.reference));
        cluster_ += ";\n";
    }

    void File(const FileVisit& file) override {
        bool isNew = false;
        const std::uint32_t number = files_.NumberOf(file.labelId, file.label, &isNew);
        if (number >= inCluster_.size()) {
            inCluster_.resize(static_cast<std::size_t>(number) + 1, false);
        }
        if (static_cast<std::size_t>(file.depth) >= chain_.size()) {
            chain_.resize(static_cast<std::size_t>(file.depth) + 1);
        }
        chain_[static_cast<std::size_t>(file.depth)] = number;
        if (file.depth == 0) {
            if (!inCluster_[number]) {
                inCluster_[number] = true;
                Declare(cluster_, "    ", number, file.label);
            }
            return;
        }
        if (isNew) {
            Declare(outside_, "  ", number, file.label);
        }
        const std::uint32_t includer = chain_[static_cast<std::size_t>(file.depth) - 1];
        if (edges_.insert((std::uint64_t{includer} << 32) | number).second) {
            outside_ += "  f" + std::to_string(includer) + " -> f" + std::to_string(number) + ";\n";
        }
        if (outside_.size() >= kBlockSize) {
            Flush(outside_);
        }
    }

    // Every pair below a file visited before was written then.
    bool PassBelow(const FileVisit& file) override {
        if (!file.sameEverywhere) {
            return false;
        }
        if (file.file >= expandedBefore_.size()) {
            expandedBefore_.resize(static_cast<std::size_t>(file.file) + 1, false);
        }
        const bool before = expandedBefore_[file.file];
        expandedBefore_[file.file] = true;
        return before;
    }

    void EndTarget(const TargetFacts&) override {
        cluster_ += "  }\n";
        Flush(cluster_);
        Flush(outside_);
    }

private:
    static constexpr std::size_t kBlockSize = 1 << 20;

    static void Declare(std::string& text, const char* indent, std::uint32_t number,
                        std::string_view label) {
        text += indent;
        text += 'f' + std::to_string(number) + " [label=";
        AppendDotString(text, label);
        text += "];\n";
    }
    void Flush(std::string& text) {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }

    std::ostream& out_;
    FileNumbers files_;
    int clusters_ = 0;
    std::string cluster_;
    std::string outside_;
    std::vector<bool> inCluster_;       // by file number
    std::vector<std::uint32_t> chain_;  // file numbers by depth
    std::unordered_set<std::uint64_t> edges_;
    std::vector<bool> expandedBefore_;  // by the target's file
};

}  // namespace

bool WriteDot(const LoadedProject& project, std::ostream& out) {
    std::string head = "digraph ";
    AppendDotString(head, ProjectFileName(project));
    head += " {\n  node [shape=box];\n";
    out << head;
    DotVisitor visitor(out);
    WalkProject(project, visitor);
    out << "}\n";
    return static_cast<bool>(out);
}

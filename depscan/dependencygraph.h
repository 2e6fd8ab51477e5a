#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"
#include "classlib/core/wtreestore.h"
#include "depscan/filefindings.h"
#include "depscan/includeresolution.h"
#include "depscan/scannotes.h"
#include "depscan/scanworker.h"
#include "project/projecttree.h"

// How one dependency scan runs.
struct ScanOptions {
    // Walks over the expanded tree stop here (see ::kDefaultNodeLimit).
    static constexpr std::size_t kDefaultNodeLimit = ::kDefaultNodeLimit;

    ParseLiterals parseLiterals = ParseLiterals::Off;
    WString compilerFolder;  // the value of WATCOM for this run
    std::size_t nodeLimit = kDefaultNodeLimit;
    ScanNotes* notes = nullptr;  // filled when given
    // Files are read and scanned on a second thread while names are resolved. Off, each is read
    // on the caller's thread when its findings are needed: the same result, on one thread (the
    // fuzz targets, where a thread started for each of thousands of small loads costs more than
    // the load, and its coverage would come from two threads).
    bool readAhead = true;

    // The options of a load: WATCOM read now, the default limit.
    static ScanOptions ForLoad(ParseLiterals parseLiterals);
};

// What a dependency node stands for.
enum class DependencyKind : unsigned char { Include, ResourceFile, Literal };

// How the tree shows a dependency node.
enum class DependencyState : unsigned char {
    Expanded,    // an include read here: its own findings are its children
    Cycle,       // an include of a file open higher up the same chain: shown, not read again
    Unreadable,  // an include naming no readable regular file: shown, no children, not listed
    Library,     // an included library: listed, never read
    Leaf,        // a resource-script file or a literal: listed, never read
};

// One dependency node as a walk meets it. The label stays valid while the
// graph lives.
struct DependencyNode {
    int depth = 0;  // the level of the node in the tree
    std::string_view label;
    std::uint32_t labelId = 0;  // equal ids, equal labels (the graph's own numbering)
    DependencyKind kind = DependencyKind::Include;
    DependencyState state = DependencyState::Leaf;
    std::uint32_t file = 0;  // the graph's file of an Expanded node (its children's source)
};

// The labels a walk has met, one bit per label id: most nodes a walk meets
// carry a label it met before.
class LabelsMet {
public:
    // True the first time label is met.
    bool FirstTime(std::uint32_t label) {
        if (label >= met_.size()) {
            met_.resize(label + 1, false);
        }
        const bool first = !met_[label];
        met_[label] = true;
        return first;
    }

private:
    std::vector<bool> met_;
};

// What a walk does after a node: go into its children, pass them by, or end.
using WalkStep = WTreeWalkStep;

// The findings of every file a load meets, read once, resolved per target:
// everything the dependency nodes of a tree are made of. The nested nodes
// below a source are never stored; walks make them on the fly from a file's
// findings and the chain of files above it (a file already on the chain is
// shown but not expanded again; a quoted name found neither by the list nor
// next to its file is searched next to each file of the chain, nearest first).
class DependencyGraph {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    // projectFolder: a project inside the compiler folder keeps its own headers.
    DependencyGraph(HostFs& fs, ScanOptions options, std::string_view projectFolder);
    ~DependencyGraph();
    DependencyGraph(const DependencyGraph&) = delete;
    DependencyGraph& operator=(const DependencyGraph&) = delete;

    // Starts a target: its folder, against which its names are read and
    // found, and its include directory list (macro already expanded).
    std::uint32_t AddTarget(std::string_view folder, std::string_view includeDirectoryList);

    // The file of a source path (cleaned, relative to the target folder or
    // absolute), asked to be read when it was not read before. Files are read
    // on a thread of their own during the load; what a file is (readable,
    // expandable) is known once the target's Survey has run.
    std::uint32_t SourceFile(std::uint32_t target, std::string_view path);
    // Ends the reading on another thread: every file asked for is read, and
    // files met from now on (names searched through the chain by a walk) are
    // read at once.
    void EndOfLoad();
    // A source that gets a file list entry: a readable file.
    bool IsListed(std::uint32_t target, std::uint32_t file) const;
    // A source whose findings are its children: readable and not a library.
    bool IsExpandable(std::uint32_t target, std::uint32_t file) const;
    std::string_view Label(std::uint32_t target, std::uint32_t file) const;

    // Walks the descendants of the last file of chain (the files from a
    // source down, each an Expanded child of the one before), pre-order,
    // depth first in file order, without storing them. depth is the level of
    // chain's last file. visit(const DependencyNode&) returns a WalkStep;
    // leave(const DependencyNode&) is called when the children of an Expanded
    // node it went into are done; miss(namingFile, name) for each include
    // name of a walked file that found no file there (not one left out as the
    // compiler's own), in walk order. False when visit stopped the walk.
    template <typename Visit, typename Leave, typename Miss>
    bool Walk(std::uint32_t target, const std::vector<std::uint32_t>& chain, int depth,
              Visit&& visit, Leave&& leave, Miss&& miss);
    template <typename Visit, typename Leave>
    bool Walk(std::uint32_t target, const std::vector<std::uint32_t>& chain, int depth,
              Visit&& visit, Leave&& leave) {
        return Walk(target, chain, depth, visit, leave, [](std::string_view, std::string_view) {});
    }
    template <typename Visit>
    bool Walk(std::uint32_t target, const std::vector<std::uint32_t>& chain, int depth,
              Visit&& visit) {
        return Walk(target, chain, depth, visit, [](const DependencyNode&) {});
    }

    // Properties of a target's file over everything it can reach, valid once
    // Survey has run for the target: the strongly connected group of files it
    // belongs to (kNone: it is in none with another file or itself), and
    // whether a quoted name below it is searched through the chain.
    void Survey(std::uint32_t target);
    std::uint32_t GroupOf(std::uint32_t target, std::uint32_t file) const;
    bool DependsOnChain(std::uint32_t target, std::uint32_t file) const;
    std::size_t FileCount(std::uint32_t target) const;

    // Counts of the load, for statistics: files read or listed (each once
    // however named), in all and per target; resolved includes; include names
    // that name no readable file, each once.
    std::size_t UniqueFiles() const;
    std::size_t UniqueFiles(std::uint32_t target) const;
    std::size_t IncludeEdges(std::uint32_t target) const;
    std::size_t FilesNotFound(std::uint32_t target) const;

    std::vector<std::string>& Problems() { return problems_; }

private:
    struct HostFile {
        bool asked = false;  // reading asked for: ticket names it while not read
        bool read = false;
        bool readable = false;
        std::uint32_t ticket = kNone;
        std::vector<Finding> findings;
    };
    struct Edge {
        std::uint32_t label = kNone;  // none: the finding adds nothing (unless throughChain)
        std::uint32_t file = kNone;   // an include's file
        std::uint32_t finding = 0;
        DependencyKind kind = DependencyKind::Include;
        bool throughChain = false;
        bool missing = false;  // an include name that found no file
    };
    struct NamedFile {
        std::uint32_t label = kNone;
        std::uint32_t host = kNone;
        FileClass fileClass = FileClass::Source;
        bool resolved = false;
        bool searchesChain = false;
        bool read = false;      // the host file's reading awaited
        bool readable = false;  // the host file's, kept here for the walks
        std::vector<Edge> edges;
    };
    struct Target {
        std::string folder;
        std::uint32_t folderIndex = 0;  // targets in one folder share it
        std::uint32_t context = 0;      // targets in one folder with one list share it
        std::shared_ptr<IncludeResolver> resolver;
        std::unordered_map<std::uint32_t, std::uint32_t> fileByLabel;
        std::deque<NamedFile> files;
        std::vector<std::uint32_t> group;  // by file, after Survey
        std::vector<bool> dependsOnChain;  // by file, after Survey
        std::size_t surveyed = 0;          // files the survey covered
        std::unordered_set<std::string> notFound;
    };
    // One file of the chain: its edges stay in place while it is on the chain.
    struct Frame {
        std::uint32_t file;
        std::uint32_t next;
        const Edge* edges;
        std::uint32_t count;
    };
    // A walk's table of the files on its chain and its stack, taken from the
    // spares and given back with every entry kNone again.
    struct ChainTable {
        DependencyGraph& graph;
        const Target& target;
        std::vector<std::uint32_t> chainOfHost;
        std::vector<Frame> stack;
        ChainTable(DependencyGraph& owner, const Target& walked) : graph(owner), target(walked) {
            if (!graph.spareTables_.empty()) {
                chainOfHost = std::move(graph.spareTables_.back());
                graph.spareTables_.pop_back();
            }
            chainOfHost.resize(graph.hostFiles_.size(), kNone);
        }
        ~ChainTable() {
            for (const Frame& frame : stack) {
                chainOfHost[target.files[frame.file].host] = kNone;
            }
            graph.spareTables_.push_back(std::move(chainOfHost));
        }
        ChainTable(const ChainTable&) = delete;
        ChainTable& operator=(const ChainTable&) = delete;
    };
    Frame FrameOf(Target& target, std::uint32_t file) {
        const std::vector<Edge>& edges = EdgesOf(target, file);
        return {file, 0, edges.data(), static_cast<std::uint32_t>(edges.size())};
    }

    std::uint32_t InternLabel(std::string_view text);
    std::uint32_t NamedFor(Target& target, std::uint32_t label);
    // Asks for the host file of file to be read, unless that was asked before.
    void AskToRead(const Target& target, std::uint32_t file);
    // Waits until the host file of file is read: its findings and whether it
    // is readable are known after.
    void AwaitRead(Target& target, std::uint32_t file);
    void Keep(HostFile& host, ScanResult result);
    const std::vector<Edge>& EdgesOf(Target& target, std::uint32_t file);
    // The edges of a file's findings as its target's folder and list resolve
    // them, without their files: the same for every target that shares both.
    const std::vector<Edge>& ResolvedEdges(Target& target, std::uint32_t file);
    Edge ResolveFinding(Target& target, const NamedFile& file, const Finding& finding,
                        std::uint32_t index);
    bool ResolveThroughChain(Target& target, const std::vector<Frame>& stack,
                             const Finding& finding, Edge& edge);
    // False when the next edge gives no node; missed is then the name when it found no file.
    bool ChildOf(Target& target, std::vector<Frame>& stack, std::vector<std::uint32_t>& chainOfHost,
                 DependencyNode& node, std::string_view& missed);
    std::string IdentityOf(const Target& target, std::string_view path);
    // Whether the file of label, read from target's folder, is the compiler's own.
    bool IsCompilers(const Target& target, std::uint32_t label);

    HostFs& fs_;
    ScanOptions options_;
    std::string projectFolder_;
    std::deque<std::string> labels_;
    std::unordered_map<std::string_view, std::uint32_t> labelIndex_;
    std::deque<HostFile> hostFiles_;
    std::unordered_map<std::string, std::uint32_t> hostFileByKey_;
    // By folder and label: the host file of a name, whether it is the compiler's.
    std::unordered_map<std::uint64_t, std::uint32_t> hostByName_;
    std::unordered_map<std::uint64_t, bool> inCompilerFolder_;
    std::unordered_map<std::string, std::uint32_t> folderIndex_;
    struct Context {
        std::shared_ptr<IncludeResolver> resolver;
        std::uint32_t index = 0;
    };
    std::unordered_map<std::string, Context> resolvers_;  // by folder and list
    // By context and label, while the load runs.
    std::unordered_map<std::uint64_t, std::vector<Edge>> edgesInContext_;
    std::deque<Target> targets_;
    std::vector<std::string> problems_;
    std::vector<std::vector<std::uint32_t>> spareTables_;
    std::unique_ptr<ScanWorker> worker_;  // none once the load has ended
};

template <typename Visit, typename Leave, typename Miss>
bool DependencyGraph::Walk(std::uint32_t targetIndex, const std::vector<std::uint32_t>& chain,
                           int depth, Visit&& visit, Leave&& leave, Miss&& miss) {
    if (chain.empty()) {
        return true;
    }
    Target& target = targets_[targetIndex];
    // The chain index of each host file on the chain; a file is on the chain
    // once at most. Kept between walks, all kNone, since a walk over a few
    // nodes is common and the table is as large as the project.
    ChainTable table(*this, target);
    std::vector<std::uint32_t>& chainOfHost = table.chainOfHost;
    std::vector<Frame>& stack = table.stack;
    std::vector<DependencyNode> entered;  // the Expanded nodes the walk went into
    for (const std::uint32_t file : chain) {
        chainOfHost[target.files[file].host] = static_cast<std::uint32_t>(stack.size());
        stack.push_back(FrameOf(target, file));
    }
    const std::size_t base = stack.size();
    DependencyNode node;
    std::string_view missed;
    while (stack.size() >= base) {
        Frame& frame = stack.back();
        if (frame.next == frame.count) {
            chainOfHost[target.files[frame.file].host] = kNone;
            stack.pop_back();
            if (stack.size() < base) {
                break;
            }
            leave(entered.back());
            entered.pop_back();
            continue;
        }
        if (!ChildOf(target, stack, chainOfHost, node, missed)) {
            if (!missed.empty()) {
                miss(std::string_view(labels_[target.files[stack.back().file].label]), missed);
            }
            continue;
        }
        node.depth = depth + static_cast<int>(stack.size() - base) + 1;
        const WalkStep step = visit(static_cast<const DependencyNode&>(node));
        if (step == WalkStep::Stop) {
            return false;
        }
        if (step == WalkStep::Continue && node.state == DependencyState::Expanded) {
            const std::uint32_t host = target.files[node.file].host;
            if (chainOfHost.size() <= host) {
                chainOfHost.resize(hostFiles_.size(), kNone);
            }
            chainOfHost[host] = static_cast<std::uint32_t>(stack.size());
            stack.push_back(FrameOf(target, node.file));
            entered.push_back(node);
        }
    }
    return true;
}

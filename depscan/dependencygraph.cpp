#include "depscan/dependencygraph.h"

#include <algorithm>
#include <unordered_set>

#include "classlib/core/pathrules.h"
#include "depscan/fileclass.h"
#include "depscan/wcinclude.h"

ScanOptions ScanOptions::ForLoad(ParseLiterals parseLiterals) {
    ScanOptions options;
    options.parseLiterals = parseLiterals;
    options.compilerFolder = ReadCompilerFolder();
    return options;
}

DependencyGraph::DependencyGraph(HostFs& fs, ScanOptions options, std::string_view projectFolder)
    : fs_(fs),
      options_(std::move(options)),
      projectFolder_(projectFolder),
      worker_(std::make_unique<ScanWorker>(fs, options_.parseLiterals, options_.readAhead)) {}

DependencyGraph::~DependencyGraph() = default;

std::uint32_t DependencyGraph::AddTarget(std::string_view folder,
                                         std::string_view includeDirectoryList) {
    Target& target = targets_.emplace_back();
    target.folder = folder;
    // Targets in one folder with one list find every name alike: they share
    // the answers, and the files they name are the same hosts.
    std::string context(folder);
    context += '\0';
    context += includeDirectoryList;
    auto [shared, isNew] = resolvers_.try_emplace(std::move(context));
    if (isNew) {
        shared->second.resolver =
            std::make_shared<IncludeResolver>(target.folder, includeDirectoryList, fs_);
        shared->second.index = static_cast<std::uint32_t>(resolvers_.size() - 1);
    }
    target.resolver = shared->second.resolver;
    target.context = shared->second.index;
    auto [place, newFolder] =
        folderIndex_.try_emplace(target.folder, static_cast<std::uint32_t>(folderIndex_.size()));
    target.folderIndex = place->second;
    return static_cast<std::uint32_t>(targets_.size() - 1);
}

std::uint32_t DependencyGraph::InternLabel(std::string_view text) {
    if (auto found = labelIndex_.find(text); found != labelIndex_.end()) {
        return found->second;
    }
    const auto label = static_cast<std::uint32_t>(labels_.size());
    labels_.emplace_back(text);
    labelIndex_.emplace(std::string_view(labels_.back()), label);
    return label;
}

std::string DependencyGraph::IdentityOf(const Target& target, std::string_view path) {
    // Two spellings of one file compare equal: the host's spelling, folded.
    return LexicallyFolded(fs_.Resolve(PathInFolder(target.folder, path)));
}

std::uint32_t DependencyGraph::NamedFor(Target& target, std::uint32_t label) {
    if (auto found = target.fileByLabel.find(label); found != target.fileByLabel.end()) {
        return found->second;
    }
    const std::string_view text = labels_[label];
    NamedFile file;
    file.label = label;
    file.fileClass = ClassifyFile(text);
    // A name read from one folder names one host file, whichever target reads it.
    const std::uint64_t named = (static_cast<std::uint64_t>(target.folderIndex) << 32) | label;
    auto [host, newName] = hostByName_.try_emplace(named, 0);
    if (newName) {
        // Findings depend on the folder too: literals are tested for existence
        // against it.
        std::string key = target.folder;
        key += '\0';
        key += static_cast<char>('0' + static_cast<int>(file.fileClass));
        key += IdentityOf(target, text);
        auto [found, isNew] = hostFileByKey_.emplace(std::move(key), 0);
        if (isNew) {
            found->second = static_cast<std::uint32_t>(hostFiles_.size());
            hostFiles_.emplace_back();
        }
        host->second = found->second;
    }
    file.host = host->second;
    const auto index = static_cast<std::uint32_t>(target.files.size());
    target.files.push_back(std::move(file));
    target.fileByLabel.emplace(label, index);
    return index;
}

void DependencyGraph::AskToRead(const Target& target, std::uint32_t named) {
    const NamedFile& file = target.files[named];
    HostFile& host = hostFiles_[file.host];
    if (host.asked) {
        return;
    }
    host.asked = true;
    ScanJob job{PathInFolder(target.folder, labels_[file.label]), target.folder, file.fileClass};
    if (worker_ != nullptr) {
        host.ticket = worker_->Submit(std::move(job));
    } else {
        Keep(host, ScanHostFile(fs_, job, options_.parseLiterals));
    }
}

void DependencyGraph::AwaitRead(Target& target, std::uint32_t named) {
    NamedFile& file = target.files[named];
    HostFile& host = hostFiles_[file.host];
    if (!host.read) {
        Keep(host, worker_->Take(host.ticket));
    }
    file.readable = host.readable;
    file.read = true;
}

void DependencyGraph::Keep(HostFile& host, ScanResult result) {
    host.read = true;
    host.readable = result.readable;
    host.findings = std::move(result.findings);
    if (!result.problem.empty()) {
        problems_.push_back(std::move(result.problem));
    }
}

void DependencyGraph::EndOfLoad() {
    for (HostFile& host : hostFiles_) {
        if (host.asked && !host.read) {
            Keep(host, worker_->Take(host.ticket));
        }
    }
    worker_.reset();
    edgesInContext_.clear();  // only targets of one load share them
}

std::uint32_t DependencyGraph::SourceFile(std::uint32_t targetIndex, std::string_view path) {
    Target& target = targets_[targetIndex];
    const std::uint32_t file = NamedFor(target, InternLabel(path));
    AskToRead(target, file);
    return file;
}

bool DependencyGraph::IsListed(std::uint32_t target, std::uint32_t file) const {
    return hostFiles_[targets_[target].files[file].host].readable;
}

bool DependencyGraph::IsExpandable(std::uint32_t target, std::uint32_t file) const {
    return IsListed(target, file) && targets_[target].files[file].fileClass != FileClass::Library;
}

std::string_view DependencyGraph::Label(std::uint32_t target, std::uint32_t file) const {
    return labels_[targets_[target].files[file].label];
}

DependencyGraph::Edge DependencyGraph::ResolveFinding(Target& target, const NamedFile& file,
                                                      const Finding& finding, std::uint32_t index) {
    Edge edge;
    edge.finding = index;
    edge.kind = finding.kind == Finding::Kind::Include        ? DependencyKind::Include
                : finding.kind == Finding::Kind::ResourceFile ? DependencyKind::ResourceFile
                                                              : DependencyKind::Literal;
    std::string_view path = finding.name;
    std::string resourceFile;
    if (finding.kind == Finding::Kind::ResourceFile) {
        const std::string_view scriptFolder = FolderOfPath(labels_[file.label]);
        resourceFile = ResolveResourceFile(target.folder, scriptFolder, finding.name, fs_);
        if (resourceFile.empty()) {
            return edge;
        }
        path = resourceFile;
    }
    if (finding.kind == Finding::Kind::Include) {
        path = target.resolver->Resolve(finding.name, finding.opener);
        if (path.empty() && finding.opener == '"') {
            const std::string_view folder = FolderOfPath(labels_[file.label]);
            path = target.resolver->ResolveNextTo(folder, finding.name);
            edge.throughChain = path.empty();
        }
        edge.missing = path.empty() && !edge.throughChain;
        if (path.empty()) {
            return edge;
        }
    }
    const std::uint32_t label = InternLabel(path);
    if (finding.kind != Finding::Kind::Literal && IsCompilers(target, label)) {
        return edge;
    }
    edge.label = label;
    return edge;
}

bool DependencyGraph::IsCompilers(const Target& target, std::uint32_t label) {
    const std::uint64_t key = (static_cast<std::uint64_t>(target.folderIndex) << 32) | label;
    auto [found, isNew] = inCompilerFolder_.try_emplace(key, false);
    if (isNew) {
        found->second = IsInCompilerFolder(labels_[label], options_.compilerFolder.View(),
                                           target.folder, projectFolder_);
    }
    return found->second;
}

const std::vector<DependencyGraph::Edge>& DependencyGraph::ResolvedEdges(Target& target,
                                                                         std::uint32_t named) {
    const NamedFile& file = target.files[named];
    const std::uint64_t key = (static_cast<std::uint64_t>(target.context) << 32) | file.label;
    auto [found, isNew] = edgesInContext_.try_emplace(key);
    if (isNew) {
        // A reference: the deque keeps its elements in place while files are added.
        const std::vector<Finding>& findings = hostFiles_[file.host].findings;
        for (std::uint32_t i = 0; i < findings.size(); ++i) {
            const Edge edge = ResolveFinding(target, file, findings[i], i);
            if (edge.label != kNone || edge.throughChain || edge.missing) {
                found->second.push_back(edge);
            }
        }
    }
    return found->second;
}

const std::vector<DependencyGraph::Edge>& DependencyGraph::EdgesOf(Target& target,
                                                                   std::uint32_t named) {
    if (target.files[named].resolved) {
        return target.files[named].edges;
    }
    target.files[named].resolved = true;
    const std::vector<Finding>& findings = hostFiles_[target.files[named].host].findings;
    std::vector<Edge> edges = ResolvedEdges(target, named);
    for (Edge& edge : edges) {
        if (edge.missing) {
            target.notFound.insert(findings[edge.finding].name);
        }
        if (edge.kind == DependencyKind::Include && edge.label != kNone) {
            edge.file = NamedFor(target, edge.label);
            AskToRead(target, edge.file);
        }
        target.files[named].searchesChain |= edge.throughChain;
    }
    target.files[named].edges = std::move(edges);
    return target.files[named].edges;
}

// A quoted name found neither by the list nor next to its own file: the
// folders of the files that included it, nearest first, back to the source.
bool DependencyGraph::ResolveThroughChain(Target& target, const std::vector<Frame>& stack,
                                          const Finding& finding, Edge& edge) {
    std::string_view tried = FolderOfPath(labels_[target.files[stack.back().file].label]);
    for (std::size_t i = stack.size() - 1; i-- > 0;) {
        const std::string_view folder = FolderOfPath(labels_[target.files[stack[i].file].label]);
        if (folder == tried) {
            continue;
        }
        tried = folder;
        const std::string& path = target.resolver->ResolveNextTo(folder, finding.name);
        if (path.empty()) {
            continue;
        }
        const std::uint32_t label = InternLabel(path);
        if (IsCompilers(target, label)) {
            return false;
        }
        edge.label = label;
        edge.file = NamedFor(target, edge.label);
        AskToRead(target, edge.file);
        return true;
    }
    target.notFound.insert(finding.name);
    edge.missing = true;
    return false;
}

bool DependencyGraph::ChildOf(Target& target, std::vector<Frame>& stack,
                              std::vector<std::uint32_t>& chainOfHost, DependencyNode& node,
                              std::string_view& missed) {
    Frame& frame = stack.back();
    Edge edge = frame.edges[frame.next++];
    missed = {};
    const std::vector<Finding>& findings = hostFiles_[target.files[frame.file].host].findings;
    if (edge.throughChain && !ResolveThroughChain(target, stack, findings[edge.finding], edge)) {
        if (edge.missing) {
            missed = findings[edge.finding].name;
        }
        return false;
    }
    if (edge.missing) {
        missed = findings[edge.finding].name;
        return false;
    }
    node.label = labels_[edge.label];
    node.labelId = edge.label;
    node.kind = edge.kind;
    node.file = edge.file;
    if (edge.kind != DependencyKind::Include) {
        node.state = DependencyState::Leaf;
        return true;
    }
    if (!target.files[edge.file].read) {
        AwaitRead(target, edge.file);  // met by a walk after the survey, through the chain
    }
    const NamedFile& included = target.files[edge.file];
    if (chainOfHost.size() < hostFiles_.size()) {
        chainOfHost.resize(hostFiles_.size(), kNone);
    }
    if (!included.readable) {
        node.state = DependencyState::Unreadable;
    } else if (chainOfHost[included.host] != kNone) {
        node.state = DependencyState::Cycle;
    } else if (included.fileClass == FileClass::Library) {
        node.state = DependencyState::Library;
    } else {
        node.state = DependencyState::Expanded;
    }
    return true;
}

std::size_t DependencyGraph::FileCount(std::uint32_t target) const {
    return targets_[target].files.size();
}

std::size_t DependencyGraph::UniqueFiles() const {
    return static_cast<std::size_t>(std::count_if(
        hostFiles_.begin(), hostFiles_.end(), [](const HostFile& host) { return host.readable; }));
}

std::size_t DependencyGraph::UniqueFiles(std::uint32_t targetIndex) const {
    std::unordered_set<std::uint32_t> hosts;
    for (const NamedFile& file : targets_[targetIndex].files) {
        if (hostFiles_[file.host].readable) {
            hosts.insert(file.host);
        }
    }
    return hosts.size();
}

std::size_t DependencyGraph::FilesNotFound(std::uint32_t targetIndex) const {
    const Target& target = targets_[targetIndex];
    std::unordered_set<std::string_view> names(target.notFound.begin(), target.notFound.end());
    for (const NamedFile& file : target.files) {
        if (!hostFiles_[file.host].readable) {
            names.insert(labels_[file.label]);
        }
    }
    return names.size();
}

std::size_t DependencyGraph::IncludeEdges(std::uint32_t targetIndex) const {
    std::size_t edges = 0;
    for (const NamedFile& file : targets_[targetIndex].files) {
        edges += static_cast<std::size_t>(
            std::count_if(file.edges.begin(), file.edges.end(), [](const Edge& edge) {
                return edge.kind == DependencyKind::Include && !edge.missing;
            }));
    }
    return edges;
}

std::uint32_t DependencyGraph::GroupOf(std::uint32_t targetIndex, std::uint32_t file) const {
    const Target& target = targets_[targetIndex];
    return file < target.surveyed ? target.group[file] : kNone;
}

bool DependencyGraph::DependsOnChain(std::uint32_t targetIndex, std::uint32_t file) const {
    const Target& target = targets_[targetIndex];
    // A file met after the survey came through the chain: it is treated as depending on it.
    return file >= target.surveyed || target.dependsOnChain[file];
}

// Reads and resolves every file the target's files reach through the list
// and next to their includers, then finds the strongly connected groups of
// the files (as hosts: the chain compares files, not names) with an
// iterative Tarjan walk. A group lists its members before the groups it
// reaches are finished, so a file depends on the chain when its group or a
// group it reaches searches it.
void DependencyGraph::Survey(std::uint32_t targetIndex) {
    Target& target = targets_[targetIndex];
    // Reading: every file reachable through resolved includes, each place once. A name that
    // folds to a place read already is not read again: headers of a sub-folder that include each
    // other as "./b.h" give inc\.\b.h, inc\.\.\a.h, ... without end. Such a name counts as
    // searching the chain, which keeps what includes it out of the shared subtrees.
    std::unordered_set<std::string> places;
    std::vector<bool> placeReadBefore;
    for (std::uint32_t file = 0; file < target.files.size(); ++file) {
        AwaitRead(target, file);
        const std::string_view label = labels_[target.files[file].label];
        const std::string place = LexicallyFolded(PathInFolder(target.folder, label));
        placeReadBefore.push_back(!places.insert(place).second);
        if (IsExpandable(targetIndex, file) && !placeReadBefore.back()) {
            EdgesOf(target, file);
        }
    }
    const std::size_t count = target.files.size();
    // Hosts of this target's files, densely numbered.
    std::unordered_map<std::uint32_t, std::uint32_t> nodeOfHost;
    std::vector<std::uint32_t> nodeOfFile(count);
    for (std::uint32_t file = 0; file < count; ++file) {
        auto [found, isNew] = nodeOfHost.emplace(target.files[file].host,
                                                 static_cast<std::uint32_t>(nodeOfHost.size()));
        nodeOfFile[file] = found->second;
    }
    const std::size_t nodes = nodeOfHost.size();
    std::vector<std::vector<std::uint32_t>> successors(nodes);
    std::vector<bool> searches(nodes, false);
    for (std::uint32_t file = 0; file < count; ++file) {
        const NamedFile& named = target.files[file];
        if (!IsExpandable(targetIndex, file)) {
            continue;
        }
        searches[nodeOfFile[file]] =
            searches[nodeOfFile[file]] || named.searchesChain || placeReadBefore[file];
        for (const Edge& edge : named.edges) {
            if (edge.file != kNone && IsExpandable(targetIndex, edge.file)) {
                successors[nodeOfFile[file]].push_back(nodeOfFile[edge.file]);
            }
        }
    }
    // Tarjan, without recursion.
    std::vector<std::uint32_t> index(nodes, kNone), low(nodes, 0), groupOfNode(nodes, kNone);
    std::vector<bool> onStack(nodes, false), groupSearches;
    std::vector<std::uint32_t> stack;
    struct Visit {
        std::uint32_t node;
        std::uint32_t next;
    };
    std::vector<Visit> calls;
    std::uint32_t counter = 0;
    std::vector<std::uint32_t> groupSize;
    for (std::uint32_t start = 0; start < nodes; ++start) {
        if (index[start] != kNone) {
            continue;
        }
        calls.push_back({start, 0});
        while (!calls.empty()) {
            Visit& call = calls.back();
            const std::uint32_t v = call.node;
            if (call.next == 0 && index[v] == kNone) {
                index[v] = low[v] = counter++;
                stack.push_back(v);
                onStack[v] = true;
            }
            if (call.next < successors[v].size()) {
                const std::uint32_t w = successors[v][call.next++];
                if (index[w] == kNone) {
                    calls.push_back({w, 0});
                } else if (onStack[w]) {
                    low[v] = std::min(low[v], index[w]);
                }
                continue;
            }
            if (low[v] == index[v]) {
                const auto group = static_cast<std::uint32_t>(groupSearches.size());
                bool groupSearch = false;
                std::uint32_t members = 0;
                std::vector<std::uint32_t> memberList;
                for (;;) {
                    const std::uint32_t w = stack.back();
                    stack.pop_back();
                    onStack[w] = false;
                    groupOfNode[w] = group;
                    memberList.push_back(w);
                    ++members;
                    if (w == v) {
                        break;
                    }
                }
                for (const std::uint32_t w : memberList) {
                    groupSearch = groupSearch || searches[w];
                    for (const std::uint32_t s : successors[w]) {
                        if (groupOfNode[s] != group && groupSearches[groupOfNode[s]]) {
                            groupSearch = true;
                        }
                        if (s == w) {
                            members = 2;  // a file that includes itself is a cycle of one
                        }
                    }
                }
                groupSearches.push_back(groupSearch);
                groupSize.push_back(members);
            }
            calls.pop_back();
            if (!calls.empty()) {
                low[calls.back().node] = std::min(low[calls.back().node], low[v]);
            }
        }
    }
    target.group.assign(count, kNone);
    target.dependsOnChain.assign(count, false);
    for (std::uint32_t file = 0; file < count; ++file) {
        const std::uint32_t group = groupOfNode[nodeOfFile[file]];
        if (group == kNone) {
            continue;
        }
        target.group[file] = groupSize[group] > 1 ? group : kNone;
        target.dependsOnChain[file] = groupSearches[group];
    }
    target.surveyed = count;
}

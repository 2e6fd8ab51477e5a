#include "depscan/dependencyscan.h"

#include <deque>
#include <limits>
#include <optional>

#include "classlib/core/pathrules.h"
#include "depscan/fileclass.h"
#include "depscan/normalizepath.h"
#include "depscan/wcinclude.h"

namespace {

constexpr std::uint32_t kNone = DependencyScanner::kNone;

}  // namespace

ScanOptions ScanOptions::ForLoad(ParseLiterals parseLiterals) {
    ScanOptions options;
    options.parseLiterals = parseLiterals;
    options.compilerFolder = ReadCompilerFolder();
    return options;
}

DependencyScanner::DependencyScanner(WTreeStore& tree, std::string_view projectFolder, HostFs& fs,
                                     ScanOptions options)
    : tree_(tree), projectFolder_(projectFolder), fs_(fs), options_(std::move(options)) {
    BeginTarget(projectFolder, {});
}

DependencyScanner::~DependencyScanner() = default;

void DependencyScanner::BeginTarget(std::string_view targetFolder,
                                    std::string_view includeDirectoryList, WTreeItem targetItem) {
    folder_ = targetFolder;
    targetItem_ = targetItem;
    namedByLabel_ = &namedByFolder_[folder_];
    resolver_ = std::make_unique<IncludeResolver>(folder_, includeDirectoryList, fs_);
    ++targetStamp_;
}

std::string DependencyScanner::IdentityOf(std::string_view path) {
    // Two spellings of one file compare equal: the host's spelling, folded.
    return LexicallyFolded(fs_.Resolve(PathInFolder(folder_, path)));
}

std::uint32_t DependencyScanner::NamedFor(WTreeLabel label) {
    std::vector<std::uint32_t>& namedByLabel = *namedByLabel_;
    if (label < namedByLabel.size() && namedByLabel[label] != kNone) {
        return namedByLabel[label];
    }
    const std::string_view text = tree_.LabelText(label);
    NamedFile file;
    file.label = label;
    file.fileClass = ClassifyFile(text);
    // Findings depend on the folder too: literals are tested for existence
    // against it.
    std::string key = folder_;
    key += '\0';
    key += static_cast<char>('0' + static_cast<int>(file.fileClass));
    key += IdentityOf(text);
    auto [found, isNew] = hostFileByKey_.emplace(std::move(key), 0);
    if (isNew) {
        found->second = static_cast<std::uint32_t>(hostFiles_.size());
        hostFiles_.emplace_back();
    }
    file.host = found->second;
    const auto named = static_cast<std::uint32_t>(namedFiles_.size());
    namedFiles_.push_back(std::move(file));
    if (namedByLabel.size() <= label) {
        namedByLabel.resize(static_cast<std::size_t>(label) + 1, kNone);
    }
    namedByLabel[label] = named;
    return named;
}

DependencyScanner::HostFile& DependencyScanner::Scanned(std::uint32_t named) {
    const NamedFile& file = namedFiles_[named];
    HostFile& host = hostFiles_[file.host];
    if (host.scanned) {
        return host;
    }
    host.scanned = true;
    const std::string hostPath = PathInFolder(folder_, tree_.LabelText(file.label));
    if (file.fileClass == FileClass::Library) {
        // Listed but never read: a regular file is all it takes.
        host.readable = fs_.Kind(hostPath) == HostEntry::File;
        return host;
    }
    WCInclude scanner(fs_, folder_);
    host.readable = scanner.Open(hostPath);
    if (scanner.OpenStatus().code == HostStatus::Code::TooLarge) {
        // Size never hides a file: it is listed and copied, only not scanned.
        host.readable = true;
        problems_.push_back(scanner.OpenStatus().reason + "; listed, not scanned");
    }
    if (scanner.IsOpen()) {
        host.findings = FindReferences(scanner, file.fileClass, options_.parseLiterals);
    }
    return host;
}

DependencyScanner::Resolved DependencyScanner::ResolveFinding(const NamedFile& file,
                                                              const Finding& finding) {
    Resolved resolved;
    resolved.kind = finding.kind;
    std::string_view path = finding.name;
    std::string resourceFile;
    if (finding.kind == Finding::Kind::ResourceFile) {
        const std::string_view scriptFolder = FolderOfPath(tree_.LabelText(file.label));
        resourceFile = ResolveResourceFile(folder_, scriptFolder, finding.name, fs_);
        if (resourceFile.empty()) {
            return resolved;
        }
        path = resourceFile;
    }
    if (finding.kind == Finding::Kind::Include) {
        path = resolver_->Resolve(finding.name, finding.opener);
        if (path.empty() && finding.opener == '"') {
            const std::string_view folder = FolderOfPath(tree_.LabelText(file.label));
            path = resolver_->ResolveNextTo(folder, finding.name);
            resolved.throughChain = path.empty();
        }
        if (path.empty()) {
            resolved.missing = !resolved.throughChain;
            return resolved;
        }
    }
    if (finding.kind != Finding::Kind::Literal &&
        IsInCompilerFolder(path, options_.compilerFolder.View(), folder_, projectFolder_)) {
        return resolved;
    }
    resolved.label = tree_.InternLabel(path);
    if (finding.kind == Finding::Kind::Include) {
        SetTarget(resolved);
    }
    return resolved;
}

void DependencyScanner::SetTarget(Resolved& resolved) {
    const std::uint32_t named = NamedFor(resolved.label);
    resolved.target = &namedFiles_[named];
    resolved.targetHost = &Scanned(named);
}

DependencyScanner::Frame DependencyScanner::FrameFor(NamedFile& file, WTreeItem parent) {
    std::vector<Resolved>& findings = ResolvedFindings(file);
    return {&file, findings.data(), static_cast<std::uint32_t>(findings.size()),
            0,     parent,          kNoItem};
}

std::vector<DependencyScanner::Resolved>& DependencyScanner::ResolvedFindings(NamedFile& file) {
    if (file.resolvedStamp != targetStamp_) {
        const HostFile& host = hostFiles_[file.host];
        std::vector<Resolved> resolved;
        resolved.reserve(host.findings.size());
        for (const Finding& finding : host.findings) {
            resolved.push_back(ResolveFinding(file, finding));
        }
        file.resolved = std::move(resolved);
        file.resolvedStamp = targetStamp_;
    }
    return file.resolved;
}

// A quoted name found neither by the list nor next to its own file: the
// folders of the files that included it, nearest first, back to the source.
bool DependencyScanner::ResolveThroughChain(const Finding& finding, Resolved& resolved) {
    std::string_view tried = FolderOfPath(tree_.LabelText(stack_.back().file->label));
    for (std::size_t i = stack_.size() - 1; i-- > 0;) {
        const std::string_view folder = FolderOfPath(tree_.LabelText(stack_[i].file->label));
        if (folder == tried) {
            continue;
        }
        tried = folder;
        const std::string& path = resolver_->ResolveNextTo(folder, finding.name);
        if (path.empty()) {
            continue;
        }
        if (IsInCompilerFolder(path, options_.compilerFolder.View(), folder_, projectFolder_)) {
            return false;
        }
        resolved.label = tree_.InternLabel(path);
        SetTarget(resolved);
        return true;
    }
    resolved.missing = true;
    return false;
}

void DependencyScanner::NoteMissing(const Frame& frame, const Finding& finding) {
    if (options_.notes != nullptr) {
        options_.notes->AddMissing(targetItem_, tree_.LabelText(frame.file->label), finding.name);
    }
}

bool DependencyScanner::MayAdd() {
    if (nodesAdded_ >= options_.nodeLimit) {
        stopped_ = true;
    }
    return !stopped_;
}

WTreeItem DependencyScanner::AddDependencyNode(WTreeLabel label, Frame& frame) {
    frame.last = tree_.AddShared(label, frame.parent, FileImage, FileImage,
                                 WTreePosition::After(frame.last));
    ++nodesAdded_;
    return frame.last;
}

void DependencyScanner::List(FileList* fileList, WTreeLabel label, std::uint32_t& listedStamp) {
    if (fileList == nullptr || listedStamp == targetStamp_ || !MayAdd()) {
        return;
    }
    listedStamp = targetStamp_;
    nodesAdded_ += static_cast<std::size_t>(fileList->AddToFilelist(tree_.LabelText(label)));
}

bool DependencyScanner::ScanFile(WTreeItem parent, FileList* fileList, std::string_view path) {
    if (stopped_) {
        return false;
    }
    const WTreeLabel rootLabel = tree_.InternLabel(path);
    const std::uint32_t root = NamedFor(rootLabel);
    HostFile& rootHost = Scanned(root);
    if (!rootHost.readable) {
        return false;
    }
    List(fileList, rootLabel, namedFiles_[root].listedStamp);
    if (namedFiles_[root].fileClass == FileClass::Library || stopped_) {
        return false;
    }
    ++rootHost.onChain;
    stack_.push_back(FrameFor(namedFiles_[root], parent));
    bool addedUnderParent = false;
    while (!stack_.empty()) {
        Frame& frame = stack_.back();
        if (frame.next == frame.count || stopped_) {
            --hostFiles_[frame.file->host].onChain;
            addedUnderParent = frame.last != kNoItem;  // the root's frame is popped last
            stack_.pop_back();
            continue;
        }
        Resolved& resolved = frame.findings[frame.next++];
        Resolved found = resolved;
        if (found.throughChain) {
            ResolveThroughChain(hostFiles_[frame.file->host].findings[frame.next - 1], found);
        }
        if (found.missing) {
            NoteMissing(frame, hostFiles_[frame.file->host].findings[frame.next - 1]);
        }
        if (found.label == kNone || !MayAdd()) {
            continue;
        }
        const WTreeItem item = AddDependencyNode(found.label, frame);
        if (found.kind != Finding::Kind::Include) {
            List(fileList, found.label, resolved.listedStamp);
            continue;
        }
        HostFile& included = *found.targetHost;
        if (!included.readable || included.onChain > 0) {
            if (included.readable) {
                tree_.SetMarked(item);  // a cycle cut: named here, not expanded again
            }
            continue;
        }
        List(fileList, found.label, found.target->listedStamp);
        if (found.target->fileClass == FileClass::Library) {
            continue;
        }
        ++included.onChain;
        stack_.push_back(FrameFor(*found.target, item));
    }
    return addedUnderParent;
}

bool DependencyScanner::IsReadable(std::string_view path) {
    return Scanned(NamedFor(tree_.InternLabel(path))).readable;
}

ScanOutcome BuildDependencies(WTreeStore& tree, const WString& projectFolder, HostFs& fs,
                              const ScanOptions& options) {
    DependencyScanner scanner(tree, projectFolder.View(), fs, options);
    std::vector<std::string> missingSources;
    const auto outcome = [&scanner, &missingSources] {
        ScanOutcome result = scanner.Outcome();
        result.missingSources = std::move(missingSources);
        return result;
    };
    const WTreeItem project = tree.FirstRoot();
    if (project == kNoItem) {
        return outcome();
    }
    const WString dependencyFilelistText = DependencyFilelistText();
    const WString filelistText = FilelistText();
    for (WTreeItem target = tree.FirstChild(project); target != kNoItem;
         target = tree.NextSibling(target)) {
        WTreeItem sources = kNoItem;
        WTreeItem filelist = kNoItem;
        for (WTreeItem child = tree.FirstChild(target); child != kNoItem;
             child = tree.NextSibling(child)) {
            if (tree.Label(child) == dependencyFilelistText.View()) {
                sources = child;
            } else if (tree.Label(child) == filelistText.View()) {
                filelist = child;
            }
        }
        if (sources == kNoItem) {
            continue;
        }
        WString list;
        if (tree.HasChildren(sources)) {
            IncludeDirectories(tree, tree.FirstChild(sources), list, options.compilerFolder);
        }
        const WString folder = TargetFolderOf(tree, target, projectFolder.View());
        scanner.BeginTarget(folder.View(), list.View(), target);
        std::optional<FileList> fileList;
        if (filelist != kNoItem) {
            fileList.emplace(tree, filelist);
        }
        for (WTreeItem source = tree.FirstChild(sources); source != kNoItem;
             source = tree.NextSibling(source)) {
            std::string path(tree.Label(source));
            NormalizePathText(path, folder.View());
            const bool named = scanner.ScanFile(source, fileList ? &*fileList : nullptr, path);
            if (options.notes != nullptr && !named &&
                fs.Kind(PathInFolder(folder.View(), path)) != HostEntry::File) {
                options.notes->AddMissing(target, TargetReferenceOf(tree, target),
                                          tree.Label(source));
            }
            if (scanner.Stopped()) {
                return outcome();
            }
            if (!scanner.IsReadable(path)) {
                missingSources.emplace_back(tree.Label(source));
            }
        }
    }
    return outcome();
}

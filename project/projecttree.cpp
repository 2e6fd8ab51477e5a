#include "project/projecttree.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

#include "classlib/core/backgroundwriter.h"
#include "classlib/core/pathrules.h"

#include "project/imagetypes.h"
#include "project/projectfilescan.h"
#include "project/targetlabel.h"
#include "project/treewalk.h"
#include "project/wctarget.h"

// The tree of one project, as the dependency scan, the export and the copy
// run find it again:
//
//   Project: <base> [<name.ext>]                      image 0, data: project folder
//    Target: <base>  <description> [<name.ext>]       image 1, data: the reference line
//     Target Name: <first item>                       image 2
//     Default Include directories: <defaults>         image 2
//     Debug Switches                                  image 1, removed when empty
//      (<tool>) Include directories: <value>          image 2
//     Release Switches                                image 1, removed when empty
//     Dependency Filelist                             image 1
//      <item name as written>                         image 2
//     Filelist                                        image 1
//
// The scan takes a target's include directories from the node just before
// "Dependency Filelist", so the group order and the removal of empty switch
// groups are part of the contract. A target that fails keeps its node as far
// as it got.

namespace {

std::unique_ptr<WObject> OwnedString(const WString& text) {
    return std::make_unique<WString>(text);
}

class ProjectTreeBuilder {
public:
    ProjectTreeBuilder(WTreeStore& tree, HostFs& fs, std::string_view projectPath,
                       std::size_t nodeLimit)
        : tree_(tree),
          fs_(fs),
          projectPath_(projectPath),
          folder_(ProjectFolderOf(projectPath)),
          nodeLimit_(nodeLimit) {}

    const WString& Folder() const { return folder_; }
    bool Stopped() const { return stopped_; }
    std::vector<std::string>& Problems() { return problems_; }
    std::size_t TargetFiles() const { return targetFiles_; }
    std::vector<ScanOutcome::UnreadTarget>& UnreadTargets() { return unreadTargets_; }

    void EnsureProjectNode() {
        if (project_ != kNoItem) {
            return;
        }
        const std::string label = TargetLabel(("Project: " + BaseNameOf(projectPath_)).View(),
                                              FileNameWithExtensionOf(projectPath_).View());
        project_ = tree_.Add(label, kNoItem, ProjectImage, ProjectImage, WTreePosition::First(),
                             OwnedString(folder_));
    }

    void AddTarget(const WString& reference) {
        EnsureProjectNode();
        if (!MayAdd()) {
            return;
        }
        ++targetFiles_;
        const WString targetPath = folder_ + reference;
        const WString label = "Target: " + BaseNameOf(targetPath.View());
        const WTreeItem target =
            tree_.Add(label.View(), project_, GroupImage, GroupImage,
                      WTreePosition::After(lastTarget_), OwnedString(reference));
        lastTarget_ = target;
        FillTarget(target, reference, targetPath);
    }

private:
    void FillTarget(WTreeItem target, const WString& reference, const WString& targetPath) {
        WCTarget reader(fs_);
        if (!reader.Open(targetPath.GetText())) {
            problems_.push_back("cannot read target file: " + reader.OpenStatus().reason);
            unreadTargets_.push_back({reference.Str(), reader.OpenStatus().reason});
            return;
        }
        WString code;
        if (reader.NextRecord() != RecordKind::MComponent || !reader.ReadComponent(code)) {
            return;
        }
        const WString text = tree_.GetLabel(target) + "  " + DescribeTargetType(code.GetText());
        tree_.SetLabel(target,
                       TargetLabel(text.View(), FileNameWithExtensionOf(targetPath.View()).View()));

        WString name;
        if (reader.NextRecord() != RecordKind::MItem || !reader.ReadItem(name)) {
            return;
        }
        TargetGroups groups = AddDetails(target, name, code);
        ReadRecords(reader, groups);
        RemoveIfEmpty(groups.debug);
        RemoveIfEmpty(groups.release);
    }

    // A group node with the last child added to it.
    struct Group {
        WTreeItem node = kNoItem;
        WTreeItem last = kNoItem;
    };

    struct TargetGroups {
        Group debug;
        Group release;
        Group sources;
    };

    TargetGroups AddDetails(WTreeItem target, const WString& name, const WString& code) {
        WTreeItem previous = kNoItem;
        auto add = [&](const WString& label, int image) {
            if (!MayAdd()) {
                return kNoItem;
            }
            previous =
                tree_.Add(label.View(), target, image, image, WTreePosition::After(previous));
            return previous;
        };
        add("Target Name: " + name, FileImage);
        WString defaults;
        defaults.Format("Default Include directories: %s",
                        WCTarget::DefaultIncludeDirectories(code.GetText()));
        add(defaults, FileImage);
        TargetGroups groups;
        groups.debug.node = add("Debug Switches", GroupImage);
        groups.release.node = add("Release Switches", GroupImage);
        groups.sources.node = add(DependencyFilelistText(), GroupImage);
        add(FilelistText(), GroupImage);
        return groups;
    }

    void ReadRecords(WCTarget& reader, TargetGroups& groups) {
        for (RecordKind kind = reader.NextRecord(); kind != RecordKind::End && !stopped_;
             kind = reader.NextRecord()) {
            if (kind == RecordKind::MItem) {
                WString item;
                if (reader.ReadItem(item)) {
                    AddTo(groups.sources, item);
                }
            } else if (kind == RecordKind::MVState) {
                WString text;
                bool debug = false;
                if (reader.ReadSwitch(text, debug)) {
                    AddTo(debug ? groups.debug : groups.release, text);
                }
            }
        }
    }

    void AddTo(Group& group, const WString& label) {
        if (group.node == kNoItem || !MayAdd()) {
            return;
        }
        group.last = tree_.Add(label.View(), group.node, FileImage, FileImage,
                               WTreePosition::After(group.last));
    }

    // Every node of the reader counts toward the work limit, as the scan's do.
    bool MayAdd() {
        stopped_ = stopped_ || tree_.Count() >= nodeLimit_;
        return !stopped_;
    }

    void RemoveIfEmpty(const Group& group) {
        if (group.node != kNoItem && group.last == kNoItem) {
            tree_.Delete(group.node);
        }
    }

    WTreeStore& tree_;
    HostFs& fs_;
    std::string_view projectPath_;
    WString folder_;
    WTreeItem project_ = kNoItem;
    WTreeItem lastTarget_ = kNoItem;
    std::size_t nodeLimit_;
    bool stopped_ = false;
    std::vector<std::string> problems_;
    std::size_t targetFiles_ = 0;
    std::vector<ScanOutcome::UnreadTarget> unreadTargets_;
};

}  // namespace

WString DependencyFilelistText() {
    return WString("Dependency Filelist");
}

WString FilelistText() {
    return WString("Filelist");
}

WString ProjectFolderOf(std::string_view projectPath) {
    return WString(FolderOfPath(projectPath));
}

WString FileNameWithExtensionOf(std::string_view path) {
    return WString(FileNameOfPath(path));
}

WString BaseNameOf(std::string_view path) {
    const std::string_view name = FileNameOfPath(path);
    for (std::size_t dot = name.size(); dot-- > 0;) {
        if (name[dot] == '.' && dot + 1 < name.size() && name[dot + 1] != '.') {
            return WString(name.substr(0, dot));
        }
    }
    return WString(name);
}

std::string_view TargetReferenceOf(const WTreeStore& tree, WTreeItem target) {
    const auto* reference = dynamic_cast<const WString*>(tree.GetData(target));
    return reference != nullptr ? reference->View() : std::string_view();
}

WString TargetFolderOf(const WTreeStore& tree, WTreeItem target, std::string_view projectFolder) {
    std::string folder(projectFolder);
    folder += FolderOfPath(TargetReferenceOf(tree, target));
    return WString(std::move(folder));
}

bool LoadProject(WTreeStore& tree, const WFilePath& projectPath, HostFs& fs,
                 ParseLiterals parseLiterals, const DependencyScan& dependencyScan,
                 ScanOutcome* scanOutcome, std::size_t nodeLimit) {
    ProjectTreeBuilder builder(tree, fs, projectPath.View(), nodeLimit);
    const bool read = ScanProjectFile(
        fs, projectPath.View(), [&](const WString& reference) { builder.AddTarget(reference); });
    if (!read) {
        return false;
    }
    builder.EnsureProjectNode();

    ScanOutcome outcome;
    if (builder.Stopped()) {
        outcome.complete = false;
    } else if (dependencyScan) {
        outcome = dependencyScan(tree, builder.Folder(), parseLiterals);
    }
    if (builder.Stopped()) {
        outcome.nodesAdded = tree.Count();
    }
    outcome.problems.insert(outcome.problems.begin(), builder.Problems().begin(),
                            builder.Problems().end());
    outcome.targetFiles = builder.TargetFiles();
    outcome.unreadTargets = std::move(builder.UnreadTargets());
    if (scanOutcome != nullptr) {
        *scanOutcome = outcome;
    }
    return true;
}

namespace {

// The lines of node, its following siblings and their descendants, at most
// nodeLimit of them; false when more would follow. A child source writes the
// lines of the children it gives itself, copying what it has written before.
bool WriteTreeLines(const WTreeStore& tree, WTreeItem node, int depth, WTreeLineWriter& lines,
                    std::size_t nodeLimit, std::size_t& written) {
    WTreeChildSource* source = tree.ChildSource();
    return WalkTree(tree, node, depth, [&](int level, std::string_view label, WTreeItem item) {
        if (written == nodeLimit) {
            return WTreeWalkStep::Stop;
        }
        ++written;
        lines.Line(level, label);
        WTreeWalkStep step = WTreeWalkStep::Continue;
        if (source != nullptr && item != kNoItem && source->Provides(item)) {
            bool complete = true;
            written += source->WriteDescendantLines(tree, item, level, lines, nodeLimit - written,
                                                    complete);
            step = complete ? WTreeWalkStep::SkipChildren : WTreeWalkStep::Stop;
        }
        lines.Pass();
        return step;
    });
}

}  // namespace

void DumpTree(const WTreeStore& tree, WTreeItem node, WString& text, int depth) {
    WTreeLineWriter lines;
    std::size_t written = 0;
    WriteTreeLines(tree, node, depth, lines, std::numeric_limits<std::size_t>::max(), written);
    text.Concat(lines.View());
}

bool DumpTree(const WTreeStore& tree, WTreeItem node, std::ostream& out, int depth,
              std::string_view lineEnd, std::size_t nodeLimit, std::size_t* lines) {
    BackgroundWriter background(out);
    WTreeLineWriter writer(lineEnd, [&background](std::string_view block) {
        background.Write(block);
    });
    std::size_t written = 0;
    const bool complete = WriteTreeLines(tree, node, depth, writer, nodeLimit, written);
    writer.Finish();
    background.Finish();
    if (lines != nullptr) {
        *lines = written;
    }
    return complete;
}

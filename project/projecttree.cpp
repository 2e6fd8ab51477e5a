#include "project/projecttree.h"

#include <memory>
#include <string>

#include "classlib/core/pathrules.h"

#include "project/imagetypes.h"
#include "project/projectfilescan.h"
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
    ProjectTreeBuilder(WTreeStore& tree, HostFs& fs, std::string_view projectPath)
        : tree_(tree), fs_(fs), projectPath_(projectPath), folder_(ProjectFolderOf(projectPath)) {}

    const WString& Folder() const { return folder_; }

    void EnsureProjectNode() {
        if (project_ != kNoItem) {
            return;
        }
        const WString label = "Project: " + BaseNameOf(projectPath_) + " [" +
                              FileNameWithExtensionOf(projectPath_) + "]";
        project_ = tree_.Add(label.View(), kNoItem, ProjectImage, ProjectImage,
                             WTreePosition::First(), OwnedString(folder_));
    }

    void AddTarget(const WString& reference) {
        EnsureProjectNode();
        const WString targetPath = folder_ + reference;
        const WString label = "Target: " + BaseNameOf(targetPath.View());
        const WTreeItem target =
            tree_.Add(label.View(), project_, GroupImage, GroupImage,
                      WTreePosition::After(lastTarget_), OwnedString(reference));
        lastTarget_ = target;
        FillTarget(target, targetPath);
    }

private:
    void FillTarget(WTreeItem target, const WString& targetPath) {
        WCTarget reader(fs_);
        if (!reader.Open(targetPath.GetText())) {
            return;
        }
        WString code;
        if (reader.NextRecord() != RecordKind::MComponent || !reader.ReadComponent(code)) {
            return;
        }
        const WString described = tree_.GetLabel(target) + "  " +
                                  DescribeTargetType(code.GetText()) + " [" +
                                  FileNameWithExtensionOf(targetPath.View()) + "]";
        tree_.SetLabel(target, described.View());

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
        for (RecordKind kind = reader.NextRecord(); kind != RecordKind::End;
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
        group.last = tree_.Add(label.View(), group.node, FileImage, FileImage,
                               WTreePosition::After(group.last));
    }

    void RemoveIfEmpty(const Group& group) {
        if (group.last == kNoItem) {
            tree_.Delete(group.node);
        }
    }

    WTreeStore& tree_;
    HostFs& fs_;
    std::string_view projectPath_;
    WString folder_;
    WTreeItem project_ = kNoItem;
    WTreeItem lastTarget_ = kNoItem;
};

// Blanks for indents, grown as deeper levels are met.
class Indent {
public:
    std::string_view Of(int level) {
        const std::size_t width = level > 0 ? static_cast<std::size_t>(level) : 0;
        if (blanks_.size() < width) {
            blanks_.resize(width, ' ');
        }
        return std::string_view(blanks_).substr(0, width);
    }

private:
    std::string blanks_;
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
                 ScanOutcome* scanOutcome) {
    ProjectTreeBuilder builder(tree, fs, projectPath.View());
    const bool read = ScanProjectFile(
        fs, projectPath.View(), [&](const WString& reference) { builder.AddTarget(reference); });
    if (!read) {
        return false;
    }
    builder.EnsureProjectNode();

    ScanOutcome outcome;
    if (dependencyScan) {
        outcome = dependencyScan(tree, builder.Folder(), parseLiterals);
    }
    if (scanOutcome != nullptr) {
        *scanOutcome = outcome;
    }
    return true;
}

void DumpTree(const WTreeStore& tree, WTreeItem node, WString& text, int depth) {
    Indent indent;
    WalkTree(tree, node, depth, [&](int level, std::string_view label) {
        text.Concat(indent.Of(level));
        text.Concat(label);
        text.Concat('\n');
    });
}

void DumpTree(const WTreeStore& tree, WTreeItem node, std::ostream& out, int depth,
              std::string_view lineEnd) {
    Indent indent;
    WalkTree(tree, node, depth, [&](int level, std::string_view label) {
        const std::string_view blanks = indent.Of(level);
        out.write(blanks.data(), static_cast<std::streamsize>(blanks.size()));
        out.write(label.data(), static_cast<std::streamsize>(label.size()));
        out.write(lineEnd.data(), static_cast<std::streamsize>(lineEnd.size()));
    });
}

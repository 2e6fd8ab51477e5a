#include "project/projecttree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "project/recordbuilder_test.h"
#include "tests/support/tempdir.h"

namespace {

using namespace records;
using Labels = std::vector<std::string>;

class ProjectTreeTest : public testing::Test {
protected:
    // Writes a file of the version: NUL-separated for 37 and 38, else CR LF lines.
    std::string Write(const std::string& name, std::string_view version, const Values& values) {
        const bool nul = version == "37" || version == "38";
        return dir_.Write(name, nul ? RenderNul(values) : RenderLines(values, "\r\n"));
    }

    std::string WriteProject(const std::string& name, const std::vector<std::string>& references,
                             std::string_view version = "40") {
        Values values = ProjectHeader(version);
        for (const std::string& reference : references) {
            values = values + Reference(reference);
        }
        return Write(name, version, values);
    }

    void WriteTarget(const std::string& name, const Values& records,
                     std::string_view version = "40") {
        Write(name, version, TargetHeader(version) + records);
    }

    bool Load(const std::string& projectPath, const DependencyScan& scan = {},
              ScanOutcome* outcome = nullptr) {
        return LoadProject(tree_, WFilePath(std::string_view(projectPath)), fs_, ParseLiterals::Off,
                           scan, outcome);
    }

    std::string Dump() const {
        WString text;
        DumpTree(tree_, tree_.FirstRoot(), text, 0);
        return text.Str();
    }

    // The children of a target and their descendants, as DumpTree shows them.
    std::string DumpChildren(WTreeItem target) const {
        WString text;
        DumpTree(tree_, tree_.FirstChild(target), text, 0);
        return text.Str();
    }

    // The image and selected image of every node, in the order of Dump().
    std::string Images(WTreeItem item) const {
        std::string images;
        for (; item != kNoItem; item = tree_.NextSibling(item)) {
            images += std::to_string(tree_.Image(item)) + std::to_string(tree_.SelectedImage(item));
            images += Images(tree_.FirstChild(item));
        }
        return images;
    }

    Labels ChildLabels(WTreeItem parent) const {
        Labels labels;
        for (WTreeItem child = tree_.FirstChild(parent); child != kNoItem;
             child = tree_.NextSibling(child)) {
            labels.emplace_back(tree_.Label(child));
        }
        return labels;
    }

    WTreeItem FirstTarget() const { return tree_.FirstChild(tree_.FirstRoot()); }

    std::string DataText(WTreeItem item) const {
        const auto* text = dynamic_cast<const WString*>(tree_.GetData(item));
        return text != nullptr ? text->Str() : "<no data>";
    }

    TempDir dir_;
    NativeHostFs fs_;
    WTreeStore tree_;
};

Values CodeAndName(std::string_view code, std::string_view name) {
    return Component(code) + Item(name, "NEXE");
}

const char* const kNtDefaults = "Default Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt";

// The example of a project N.wpj with one target T.x.
TEST_F(ProjectTreeTest, ExampleProjectGivesItsNineLines) {
    WriteTarget("T.x", CodeAndName("nw2e", "E") +
                           Switch("C", "n????Include directories:", false, "V") + Item("S"));
    ASSERT_EQ(Load(WriteProject("N.wpj", {"T.x"})), true);
    EXPECT_EQ(Dump(),
              "Project: N [N.wpj]\n"
              " Target: T  Windows NT windowed executable (32-bit Executable) [T.x]\n"
              "  Target Name: E\n"
              "  Default Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt\n"
              "  Release Switches\n"
              "   (C) Include directories: V\n"
              "  Dependency Filelist\n"
              "   S\n"
              "  Filelist\n");
    EXPECT_EQ(Images(tree_.FirstRoot()), "001122221122112211");
}

TEST_F(ProjectTreeTest, NodesOwnTheProjectFolderAndTheReferenceLine) {
    ASSERT_EQ(Load(WriteProject("N.wpj", {})), true);
    EXPECT_EQ(Dump(), "Project: N [N.wpj]\n");
    EXPECT_EQ(DataText(tree_.FirstRoot()), dir_.path() + "/");
    tree_.DeleteAll();
    WriteTarget("sub/t.tgt", CodeAndName("nw2e", "t.exe"));
    ASSERT_EQ(Load(WriteProject("p.wpj", {"sub\\t.tgt"})), true);
    EXPECT_EQ(DataText(FirstTarget()), "sub\\t.tgt");
    EXPECT_EQ(tree_.Label(FirstTarget()),
              "Target: t  Windows NT windowed executable (32-bit Executable) [t.tgt]");
}

// Switches and sources keep file order; a switch group left empty is removed.
TEST_F(ProjectTreeTest, FileOrderAndEmptySwitchGroups) {
    const std::string include = "n????Include directories:";
    WriteTarget("none.tgt", CodeAndName("nw2e", "none.exe"));
    WriteTarget("debug.tgt", CodeAndName("nw2e", "debug.exe") + Switch("WCC", include, true, "d"));
    WriteTarget("t.tgt",
                CodeAndName("nw2e", "t.exe") + Item("b.c") + Switch("WCC", include, false, "r1") +
                    Switch("WPP", include, true, "d1") + Item("*.h") + Item("a.h") +
                    Switch("WCC", "?????Macro definitions:", false, "X") +
                    Switch("WPP", include, false, "r2") +
                    CState("WCC", "?????Full debugging info") + Component("ignored") + Item("a.c"));
    ASSERT_EQ(Load(WriteProject("p.wpj", {"none.tgt", "debug.tgt", "t.tgt"})), true);
    const WTreeItem none = FirstTarget();
    const WTreeItem debug = tree_.NextSibling(none);
    const std::string defaults = std::string(kNtDefaults) + "\n";
    EXPECT_EQ(DumpChildren(none),
              "Target Name: none.exe\n" + defaults + "Dependency Filelist\nFilelist\n");
    EXPECT_EQ(DumpChildren(debug), "Target Name: debug.exe\n" + defaults +
                                       "Debug Switches\n"
                                       " (WCC) Include directories: d\n"
                                       "Dependency Filelist\n"
                                       "Filelist\n");
    EXPECT_EQ(Images(tree_.FirstChild(debug)), "222211221111");
    EXPECT_EQ(DumpChildren(tree_.NextSibling(debug)), "Target Name: t.exe\n" + defaults +
                                                          "Debug Switches\n"
                                                          " (WPP) Include directories: d1\n"
                                                          "Release Switches\n"
                                                          " (WCC) Include directories: r1\n"
                                                          " (WPP) Include directories: r2\n"
                                                          "Dependency Filelist\n"
                                                          " b.c\n"
                                                          " a.h\n"
                                                          " a.c\n"
                                                          "Filelist\n");
}

struct FailingRow {
    const char* name;
    std::string reference;
    std::string targetBytes;  // empty: no file written
    std::string label;
};

// A failing target keeps its node as far as it got; the next target loads.
TEST_F(ProjectTreeTest, FailingTargetsStayBare) {
    const std::string dosExe = "  DOS .exe file (16-bit Executable)";
    const FailingRow rows[] = {
        {"Missing", "missing.tgt", "", "Target: missing"},
        {"AbsoluteReference", "d:\\programm\\stools.tgt", "", "Target: stools"},
        {"EmptyReference", "", "", "Target: "},
        {"NoComponentFirst", "x.tgt", RenderLines(Item("x.exe")), "Target: x"},
        {"ComponentWithoutSecondWString", "y.tgt",
         Lines({"40", "MComponent", "0", "2", "WString", "4", "NEXE", "3", "WStrinG", "5", "nw2e",
                "MItem", "1", "x.exe", "2", "WString", "3", "NEXE"}),
         "Target: y"},
        {"NoItemAfterComponent", "z.tgt", RenderLines(Component("de6e")),
         "Target: z" + dosExe + " [z.tgt]"},
        {"StarItemAfterComponent", "s.tgt", RenderLines(Component("de6e") + Item("*.c")),
         "Target: s" + dosExe + " [s.tgt]"},
    };
    WriteTarget("good.tgt", CodeAndName("nw2e", "good.exe"));
    for (const FailingRow& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.targetBytes.empty()) {
            dir_.Write(row.reference, row.targetBytes);
        }
        tree_.DeleteAll();
        ASSERT_EQ(Load(WriteProject("p.wpj", {row.reference, "good.tgt"})), true);
        EXPECT_EQ(tree_.Label(FirstTarget()), row.label);
        EXPECT_EQ(ChildLabels(FirstTarget()), Labels{});
        EXPECT_EQ(ChildLabels(tree_.NextSibling(FirstTarget())).size(), 4u);
    }
}

TEST_F(ProjectTreeTest, DependencyScanRunsLastOnlyAfterARead) {
    std::string folderSeen = "<not scanned>";
    std::size_t nodesSeen = 0;
    ParseLiterals flagSeen = ParseLiterals::Off;
    const auto scan = [&](WTreeStore& tree, const WString& folder, ParseLiterals flag) {
        folderSeen = folder.Str();
        nodesSeen = tree.Count();
        flagSeen = flag;
        return ScanOutcome{false, 7};
    };
    const auto load = [&](const std::string& path, ScanOutcome* outcome) {
        return LoadProject(tree_, WFilePath(std::string_view(path)), fs_, ParseLiterals::On, scan,
                           outcome);
    };
    EXPECT_EQ(load(dir_.Join("missing.wpj"), nullptr), false);
    EXPECT_EQ(tree_.Count(), 0u);
    EXPECT_EQ(folderSeen, "<not scanned>");
    WriteTarget("t.tgt", CodeAndName("nw2e", "t.exe"));
    ScanOutcome outcome;
    ASSERT_EQ(load(WriteProject("p.wpj", {"t.tgt"}), &outcome), true);
    EXPECT_EQ(folderSeen, dir_.path() + "/");
    EXPECT_EQ(nodesSeen, 6u);  // project, target and its four children: the scan comes last
    EXPECT_EQ(flagSeen, ParseLiterals::On);
    EXPECT_EQ(outcome.complete, false);
    EXPECT_EQ(outcome.nodesAdded, 7u);
}

// A project of one form naming targets of every form: the same records give
// the same nodes, and each file's form is recognised on its own.
TEST_F(ProjectTreeTest, TargetsOfEveryFormGiveTheSameNodes) {
    const auto records = [](SwitchLayout layout) {
        return CodeAndName("w_6e", "t.exe") + Item("*.c") +
               Switch("WCC", "w????Include directories:", true, "$(%watcom)\\h;..", layout) +
               Switch("WPP", "w????Include directories:", false, "inc", layout) + Item("s.c");
    };
    WriteTarget("v40.tgt", records(SwitchLayout::Classic));
    WriteTarget("v38.tgt", records(SwitchLayout::Classic), "38");
    WriteTarget("v37.tgt", records(SwitchLayout::Classic), "37");
    WriteTarget("v42.tgt", records(SwitchLayout::Newer), "42");
    for (const char* projectVersion : {"37", "40"}) {
        SCOPED_TRACE(projectVersion);
        tree_.DeleteAll();
        ASSERT_EQ(Load(WriteProject("p.wpj", {"v40.tgt", "v38.tgt", "v37.tgt", "v42.tgt"},
                                    projectVersion)),
                  true);
        const std::string first = DumpChildren(FirstTarget());
        EXPECT_EQ(ChildLabels(FirstTarget()).size(), 6u);
        for (WTreeItem target = FirstTarget(); target != kNoItem;
             target = tree_.NextSibling(target)) {
            EXPECT_EQ(DumpChildren(target), first);
        }
    }
}

TEST(LabelNamesTest, BaseNameNameWithExtensionAndFolder) {
    struct NameRow {
        const char* path;
        const char* baseName;
        const char* nameWithExtension;
    };
    for (const NameRow& row : {
             NameRow{"c:\\p\\N.wpj", "N", "N.wpj"},
             NameRow{"/p/sub/a.b.tgt", "a.b", "a.b.tgt"},
             NameRow{"win\\draw16.tgt", "draw16", "draw16.tgt"},
             NameRow{"mixed/dir\\x.y", "x", "x.y"},
             NameRow{"noext", "noext", "noext"},
             NameRow{"a.", "a.", "a."},
             NameRow{"a..b", "a.", "a..b"},
             NameRow{"a.b..", "a", "a.b.."},
             NameRow{".profile", "", ".profile"},
             NameRow{"dir\\", "", ""},
             NameRow{"", "", ""},
         }) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(BaseNameOf(row.path).Str(), row.baseName);
        EXPECT_EQ(FileNameWithExtensionOf(row.path).Str(), row.nameWithExtension);
    }
    EXPECT_EQ(ProjectFolderOf("c:\\dev\\p/N.wpj").Str(), "c:\\dev\\p/");
    EXPECT_EQ(ProjectFolderOf("c:\\dev\\N.wpj").Str(), "c:\\dev\\");
    EXPECT_EQ(ProjectFolderOf("N.wpj").Str(), "");
}

WTreeItem AddChild(WTreeStore& tree, WTreeItem parent, std::string_view label) {
    return tree.Add(label, parent, 2, 2, WTreePosition::Last());
}

TEST(DumpTreeTest, NodeWithFollowingSiblingsAndDepth) {
    WTreeStore tree;
    const WTreeItem root = AddChild(tree, kNoItem, "root");
    const WTreeItem a = AddChild(tree, root, "a");
    AddChild(tree, AddChild(tree, a, "a1"), "a11");
    AddChild(tree, root, "b");
    AddChild(tree, kNoItem, "root2");
    WString text("kept:");
    DumpTree(tree, a, text, 2);
    // The node's siblings come along, its parent's do not.
    EXPECT_EQ(text.Str(), "kept:  a\n   a1\n    a11\n  b\n");
    std::ostringstream out;
    DumpTree(tree, a, out, 0, "\r\n");
    EXPECT_EQ(out.str(), "a\r\n a1\r\n  a11\r\nb\r\n");
    WString none;
    DumpTree(tree, kNoItem, none, 0);
    EXPECT_EQ(none.Str(), "");
}

// Counts what is written without keeping it: the text of a deep tree is
// quadratic in its depth.
class CountingBuffer : public std::streambuf {
public:
    std::size_t characters = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize count) override {
        characters += static_cast<std::size_t>(count);
        return count;
    }
    int_type overflow(int_type c) override {
        ++characters;
        return c;
    }
};

TEST(DumpTreeTest, DeepTreesWithoutRecursion) {
    constexpr std::size_t kDepth = 50'000;
    WTreeStore tree;
    WTreeItem parent = kNoItem;
    for (std::size_t level = 0; level < kDepth; ++level) {
        parent = AddChild(tree, parent, "n");
    }
    AddChild(tree, kNoItem, "second");
    CountingBuffer counter;
    std::ostream out(&counter);
    DumpTree(tree, tree.FirstRoot(), out, 0);
    // Blanks 0 + 1 + ... + (depth - 1), each label and its line end.
    EXPECT_EQ(counter.characters, kDepth * (kDepth - 1) / 2 + 2 * kDepth + 7);
    // The text form walks the same way; a shallower tree keeps its text small.
    WTreeStore shallower;
    parent = AddChild(shallower, kNoItem, "top");
    for (int level = 0; level < 3000; ++level) {
        parent = AddChild(shallower, parent, "n");
        AddChild(shallower, shallower.Parent(parent), "leaf");
    }
    WString text;
    DumpTree(shallower, shallower.FirstRoot(), text, 0);
    std::ostringstream stream;
    DumpTree(shallower, shallower.FirstRoot(), stream, 0);
    EXPECT_EQ(text.Str(), stream.str());
    EXPECT_EQ(text.Str().substr(text.GetLength() - 7), "\n leaf\n");
}

// The bundled example, compared with its hand-written tree (the dependency
// scan, which adds nodes below the sources and "Filelist", is left out).
TEST(ExampleProjectTest, ShapesTreeBeforeTheScan) {
    const std::string folder = ExamplesFolder() + "/shapes";
    NativeHostFs fs;
    WTreeStore tree;
    ASSERT_EQ(LoadProject(tree, WFilePath(std::string_view(folder + "/shapes.wpj")), fs,
                          ParseLiterals::Off, DependencyScan()),
              true);
    WString text;
    DumpTree(tree, tree.FirstRoot(), text, 0);
    EXPECT_EQ(text.Str(), ReadWhole(folder + "/expected/tree-without-scan.txt"));
}

}  // namespace

#include "project/projecttree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"

namespace {

using namespace projectwriter;

class ProjectTreeTest : public testing::Test {
protected:
    std::string WriteProject(const std::vector<std::string>& references) {
        return dir_.Write("p.wpj", ProjectFileText(references));
    }

    void WriteTarget(const std::string& name, const Values& records) {
        dir_.Write(name, RenderLines(TargetHeader("40") + records, "\r\n"));
    }

    bool Load(const std::string& projectPath, const DependencyScan& scan = {},
              ScanOutcome* outcome = nullptr) {
        tree_.DeleteAll();
        return LoadProject(tree_, WFilePath(std::string_view(projectPath)), fs_, ParseLiterals::On,
                           scan, outcome);
    }

    std::string Dump(WTreeItem node) const {
        WString text;
        DumpTree(tree_, node, text, 0);
        return text.Str();
    }

    // The image and selected image of every node from item on, in the order of Dump().
    std::string Images(WTreeItem item) const {
        std::string images;
        for (; item != kNoItem; item = tree_.NextSibling(item)) {
            images += std::to_string(tree_.Image(item)) + std::to_string(tree_.SelectedImage(item));
            images += Images(tree_.FirstChild(item));
        }
        return images;
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

constexpr std::string_view kInclude = "n????Include directories:";

// Switches and sources keep file order; a switch group left empty is removed.
TEST_F(ProjectTreeTest, NodesImagesAndDataInFileOrder) {
    WriteTarget("sub/t.tgt",
                CodeAndName("nw2e", "t.exe") + Item("b.c") +
                    Switch("WCC", kInclude, Mode::Release, "r1") +
                    Switch("WPP", kInclude, Mode::Debug, "d1") + Item("*.h") + Item("a.h") +
                    Switch("WCC", "?????Macro definitions:", Mode::Release, "X") +
                    Switch("WPP", kInclude, Mode::Release, "r2") +
                    CState("WCC", "?????Full debugging info") + Component("ignored") + Item("a.c"));
    WriteTarget("none.tgt", CodeAndName("de6e", "none.exe"));
    ASSERT_EQ(Load(WriteProject({"sub\\t.tgt", "none.tgt"})), true);
    EXPECT_EQ(Dump(tree_.FirstRoot()),
              "Project: p [p.wpj]\n"
              " Target: t  Windows NT windowed executable (32-bit Executable) [t.tgt]\n"
              "  Target Name: t.exe\n"
              "  Default Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt\n"
              "  Debug Switches\n"
              "   (WPP) Include directories: d1\n"
              "  Release Switches\n"
              "   (WCC) Include directories: r1\n"
              "   (WPP) Include directories: r2\n"
              "  Dependency Filelist\n"
              "   b.c\n"
              "   a.h\n"
              "   a.c\n"
              "  Filelist\n"
              " Target: none  DOS .exe file (16-bit Executable) [none.tgt]\n"
              "  Target Name: none.exe\n"
              "  Default Include directories: $(%watcom)\\h\n"
              "  Dependency Filelist\n"
              "  Filelist\n");
    EXPECT_EQ(Images(tree_.FirstRoot()), "00112222112211222211222222111122221111");
    EXPECT_EQ(DataText(tree_.FirstRoot()), dir_.path() + "/");
    EXPECT_EQ(DataText(FirstTarget()), "sub\\t.tgt");
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
        {"EmptyReference", "", "", "Target: "},
        {"NoComponentFirst", "x.tgt", RenderLines(Item("x.exe")), "Target: x"},
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
        ASSERT_EQ(Load(WriteProject({row.reference, "good.tgt"})), true);
        EXPECT_EQ(tree_.Label(FirstTarget()), row.label);
        EXPECT_EQ(tree_.FirstChild(FirstTarget()), kNoItem);
        EXPECT_EQ(tree_.Label(tree_.FirstChild(tree_.NextSibling(FirstTarget()))),
                  "Target Name: good.exe");
    }
}

TEST_F(ProjectTreeTest, DependencyScanRunsLastOnlyAfterARead) {
    std::string seen = "<not scanned>";
    const auto scan = [&](WTreeStore& tree, const WString& folder, ParseLiterals flag) {
        seen = folder.Str() + " " + std::to_string(tree.Count()) +
               (flag == ParseLiterals::On ? " literals" : " plain");
        return ScanOutcome{false, 7};
    };
    EXPECT_EQ(Load(dir_.Join("missing.wpj"), scan), false);
    EXPECT_EQ(tree_.Count(), 0u);
    EXPECT_EQ(seen, "<not scanned>");
    WriteTarget("t.tgt", CodeAndName("nw2e", "t.exe"));
    ScanOutcome outcome;
    ASSERT_EQ(Load(WriteProject({"t.tgt"}), scan, &outcome), true);
    // The project, the target and its four children are there when the scan comes.
    EXPECT_EQ(seen, dir_.path() + "/ 6 literals");
    EXPECT_EQ(outcome.complete, false);
    EXPECT_EQ(outcome.nodesAdded, 7u);
}

// The name and the folder of a path are the path rules'; here only where the base name ends.
TEST(LabelNamesTest, BaseNameEndsAtTheLastDotFollowedByAnotherCharacter) {
    const std::pair<const char*, const char*> rows[] = {
        {"c:\\p\\N.wpj", "N"}, {"/p/sub\\a.b.tgt", "a.b"},
        {"noext", "noext"},    {"a.", "a."},
        {"a..b", "a."},        {"a.b..", "a"},
        {".profile", ""},      {"dir\\", ""},
    };
    for (const auto& [path, baseName] : rows) {
        EXPECT_EQ(BaseNameOf(path).Str(), baseName) << path;
    }
}

WTreeItem AddChild(WTreeStore& tree, WTreeItem parent, std::string_view label) {
    return tree.Add(label, parent, 2, 2, WTreePosition::Last());
}

// A label may hold a line break (the NUL-separated form allows it): written as it stands it
// would forge a line of its own, so control characters are written as blanks.
TEST(DumpTreeTest, NodeWithFollowingSiblingsAndDepth) {
    WTreeStore tree;
    const WTreeItem root = AddChild(tree, kNoItem, "root");
    const WTreeItem a = AddChild(tree, root, "a");
    AddChild(tree, AddChild(tree, a, "a1"), "a\r\nFilelist\tb\x7f.c");
    AddChild(tree, root, "b");
    AddChild(tree, kNoItem, "root2");
    WString text("kept:");
    DumpTree(tree, a, text, 2);
    // The node's siblings come along, its parent's do not.
    EXPECT_EQ(text.Str(), "kept:  a\n   a1\n    a  Filelist b .c\n  b\n");
    std::ostringstream out;
    DumpTree(tree, a, out, 0, "\r\n");
    EXPECT_EQ(out.str(), "a\r\n a1\r\n  a  Filelist b .c\r\nb\r\n");
    WString none;
    DumpTree(tree, kNoItem, none, 0);
    EXPECT_EQ(none.Str(), "");
}

// Counts what is written without keeping it: the text of a deep tree is quadratic in its depth.
struct CountingBuffer : std::streambuf {
    std::size_t characters = 0;
    std::streamsize xsputn(const char*, std::streamsize count) override {
        characters += static_cast<std::size_t>(count);
        return count;
    }
};

// A chain deeper than a call stack would take is written without recursion.
TEST(DumpTreeTest, DeepTreesWithoutRecursion) {
    constexpr std::size_t kDepth = 50'000;
    WTreeStore tree;
    WTreeItem parent = kNoItem;
    for (std::size_t level = 0; level < kDepth; ++level) {
        parent = AddChild(tree, parent, "n");
    }
    CountingBuffer counter;
    std::ostream out(&counter);
    DumpTree(tree, tree.FirstRoot(), out, 0);
    // Blanks 0 + 1 + ... + (depth - 1), each label and its line end.
    EXPECT_EQ(counter.characters, kDepth * (kDepth - 1) / 2 + 2 * kDepth);
}

}  // namespace

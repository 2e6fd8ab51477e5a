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
    std::string WriteProject(const std::string& name, const std::vector<std::string>& references,
                             std::string_view version = "40") {
        Values values = ProjectHeader(version);
        for (const std::string& reference : references) {
            Append(values, Reference(reference));
        }
        const bool nul = version == "37" || version == "38";
        return dir_.Write(name, nul ? RenderNul(values) : RenderLines(values, "\r\n"));
    }

    void WriteTarget(const std::string& name, const Values& records,
                     std::string_view version = "40") {
        Values values = TargetHeader(version);
        Append(values, records);
        const bool nul = version == "37" || version == "38";
        dir_.Write(name, nul ? RenderNul(values) : RenderLines(values, "\r\n"));
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
    HostFs fs_;
    WTreeStore tree_;
};

Values CodeAndName(std::string_view code, std::string_view name) {
    Values values = Component(code);
    Append(values, Item(name, "NEXE"));
    return values;
}

// The example of a project N.wpj with one target T.x.
TEST_F(ProjectTreeTest, ExampleProjectGivesItsNineLines) {
    Values target = CodeAndName("nw2e", "E");
    Append(target, Switch("C", "n????Include directories:", false, "V"));
    Append(target, Item("S"));
    WriteTarget("T.x", target);
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
}

TEST_F(ProjectTreeTest, ProjectNodeLabelImageAndFolder) {
    const std::string path = WriteProject("N.wpj", {});
    ASSERT_EQ(Load(path), true);
    const WTreeItem project = tree_.FirstRoot();
    EXPECT_EQ(tree_.Label(project), "Project: N [N.wpj]");
    EXPECT_EQ(tree_.Image(project), 0);
    EXPECT_EQ(tree_.SelectedImage(project), 0);
    EXPECT_EQ(DataText(project), dir_.path() + "/");
    EXPECT_EQ(tree_.NextSibling(project), kNoItem);
    EXPECT_EQ(tree_.Count(), 1u);
}

TEST_F(ProjectTreeTest, ImagesOfEveryNodeKind) {
    Values target = CodeAndName("de6e", "app.exe");
    Append(target, Switch("WCC", "d????Include directories:", true, "inc"));
    Append(target, Item("src\\main.c"));
    WriteTarget("app.tgt", target);
    ASSERT_EQ(Load(WriteProject("p.wpj", {"app.tgt"})), true);
    Labels seen;
    for (WTreeItem item = FirstTarget(); item != kNoItem;) {
        seen.push_back(std::to_string(tree_.Image(item)) +
                       std::to_string(tree_.SelectedImage(item)) + " " +
                       std::string(tree_.Label(item)));
        const WTreeItem child = tree_.FirstChild(item);
        if (child != kNoItem) {
            item = child;
            continue;
        }
        while (item != kNoItem && tree_.NextSibling(item) == kNoItem) {
            item = tree_.Parent(item);
        }
        if (item != kNoItem) {
            item = tree_.NextSibling(item);
        }
    }
    EXPECT_EQ(seen,
              (Labels{"11 Target: app  DOS .exe file (16-bit Executable) [app.tgt]",
                      "22 Target Name: app.exe", "22 Default Include directories: $(%watcom)\\h",
                      "11 Debug Switches", "22 (WCC) Include directories: inc",
                      "11 Dependency Filelist", "22 src\\main.c", "11 Filelist"}));
}

TEST_F(ProjectTreeTest, TargetNodeOwnsItsReferenceLine) {
    WriteTarget("sub/t.tgt", CodeAndName("nw2e", "t.exe"));
    ASSERT_EQ(Load(WriteProject("p.wpj", {"sub\\t.tgt"})), true);
    EXPECT_EQ(DataText(FirstTarget()), "sub\\t.tgt");
    EXPECT_EQ(tree_.Label(FirstTarget()),
              "Target: t  Windows NT windowed executable (32-bit Executable) [t.tgt]");
}

struct GroupCase {
    const char* name;
    std::vector<bool> switchModes;  // true: debug
    Labels children;
};

class SwitchGroupTest : public ProjectTreeTest, public testing::WithParamInterface<GroupCase> {};

TEST_P(SwitchGroupTest, EmptyGroupsAreRemoved) {
    Values target = CodeAndName("nw2e", "t.exe");
    for (bool debug : GetParam().switchModes) {
        Append(target, Switch("WCC", "n????Include directories:", debug, debug ? "d" : "r"));
    }
    WriteTarget("t.tgt", target);
    ASSERT_EQ(Load(WriteProject("p.wpj", {"t.tgt"})), true);
    EXPECT_EQ(ChildLabels(FirstTarget()), GetParam().children);
}

const char* const kName = "Target Name: t.exe";
const char* const kDefaults = "Default Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt";

INSTANTIATE_TEST_SUITE_P(
    Targets, SwitchGroupTest,
    testing::Values(
        GroupCase{"None", {}, {kName, kDefaults, "Dependency Filelist", "Filelist"}},
        GroupCase{"ReleaseOnly",
                  {false, false},
                  {kName, kDefaults, "Release Switches", "Dependency Filelist", "Filelist"}},
        GroupCase{"DebugOnly",
                  {true},
                  {kName, kDefaults, "Debug Switches", "Dependency Filelist", "Filelist"}},
        GroupCase{"Both",
                  {false, true},
                  {kName, kDefaults, "Debug Switches", "Release Switches", "Dependency Filelist",
                   "Filelist"}}),
    [](const testing::TestParamInfo<GroupCase>& param) { return std::string(param.param.name); });

TEST_F(ProjectTreeTest, SwitchesAndSourcesKeepFileOrder) {
    Values target = CodeAndName("nw2e", "t.exe");
    Append(target, Item("b.c"));
    Append(target, Switch("WCC", "n????Include directories:", false, "r1"));
    Append(target, Switch("WPP", "n????Include directories:", true, "d1"));
    Append(target, Item("*.h"));
    Append(target, Item("a.h"));
    Append(target, Switch("WCC", "?????Macro definitions:", false, "X"));
    Append(target, Switch("WPP", "n????Include directories:", false, "r2"));
    Append(target, CState("WCC", "?????Full debugging info"));
    Append(target, Component("ignored"));
    Append(target, Item("a.c"));
    WriteTarget("t.tgt", target);
    ASSERT_EQ(Load(WriteProject("p.wpj", {"t.tgt"})), true);
    EXPECT_EQ(Dump(),
              "Project: p [p.wpj]\n"
              " Target: t  Windows NT windowed executable (32-bit Executable) [t.tgt]\n"
              "  Target Name: t.exe\n" +
                  std::string("  ") + kDefaults +
                  "\n"
                  "  Debug Switches\n"
                  "   (WPP) Include directories: d1\n"
                  "  Release Switches\n"
                  "   (WCC) Include directories: r1\n"
                  "   (WPP) Include directories: r2\n"
                  "  Dependency Filelist\n"
                  "   b.c\n"
                  "   a.h\n"
                  "   a.c\n"
                  "  Filelist\n");
}

TEST_F(ProjectTreeTest, TargetWithoutFurtherItemsKeepsEmptyGroups) {
    WriteTarget("t.tgt", CodeAndName("w_6d", "t.dll"));
    ASSERT_EQ(Load(WriteProject("p.wpj", {"t.tgt"})), true);
    const WTreeItem sources = tree_.NextSibling(tree_.NextSibling(tree_.FirstChild(FirstTarget())));
    EXPECT_EQ(tree_.Label(sources), "Dependency Filelist");
    EXPECT_EQ(ChildLabels(sources), Labels{});
    EXPECT_EQ(tree_.Label(tree_.NextSibling(sources)), "Filelist");
}

TEST_F(ProjectTreeTest, TwoReferencesToOneTargetGiveEqualSubtrees) {
    Values target = CodeAndName("nw2e", "t.exe");
    Append(target, Item("a.c"));
    WriteTarget("t.tgt", target);
    ASSERT_EQ(Load(WriteProject("p.wpj", {"t.tgt", "t.tgt"})), true);
    const WTreeItem first = FirstTarget();
    const WTreeItem second = tree_.NextSibling(first);
    WString firstText;
    WString secondText;
    DumpTree(tree_, tree_.FirstChild(first), firstText, 0);
    DumpTree(tree_, tree_.FirstChild(second), secondText, 0);
    EXPECT_EQ(tree_.Label(first), tree_.Label(second));
    EXPECT_EQ(firstText.Str(), secondText.Str());
    EXPECT_NE(firstText.Str(), "");
}

struct BareCase {
    const char* name;
    std::string reference;
    std::string targetBytes;  // empty: no file written
    std::string label;
};

class FailingTargetTest : public ProjectTreeTest, public testing::WithParamInterface<BareCase> {};

// A failing target keeps its node as far as it got; the next target loads.
TEST_P(FailingTargetTest, KeepsWhatItGotAndTheNextTargetLoads) {
    if (!GetParam().targetBytes.empty()) {
        dir_.Write(GetParam().reference, GetParam().targetBytes);
    }
    WriteTarget("good.tgt", CodeAndName("nw2e", "good.exe"));
    ASSERT_EQ(Load(WriteProject("p.wpj", {GetParam().reference, "good.tgt"})), true);
    const WTreeItem failing = FirstTarget();
    EXPECT_EQ(tree_.Label(failing), GetParam().label);
    EXPECT_EQ(ChildLabels(failing), Labels{});
    EXPECT_EQ(ChildLabels(tree_.NextSibling(failing)).size(), 4u);
}

const std::string kNoSecondWString = RenderLines({{"40"},
                                                  {"MComponent"},
                                                  {"0"},
                                                  {"2"},
                                                  {"WString"},
                                                  {"4"},
                                                  {"NEXE"},
                                                  {"3"},
                                                  {"WStrinG"},
                                                  {"5"},
                                                  {"nw2e"},
                                                  {"MItem"},
                                                  {"1"},
                                                  {"x.exe"},
                                                  {"2"},
                                                  {"WString"},
                                                  {"3"},
                                                  {"NEXE"}});

INSTANTIATE_TEST_SUITE_P(
    Targets, FailingTargetTest,
    testing::Values(BareCase{"Missing", "missing.tgt", "", "Target: missing"},
                    BareCase{"AbsoluteReference", "d:\\programm\\stools.tgt", "", "Target: stools"},
                    BareCase{"EmptyReference", "", "", "Target: "},
                    BareCase{"NoComponentFirst", "x.tgt", RenderLines(Item("x.exe")), "Target: x"},
                    BareCase{"ComponentWithoutSecondWString", "y.tgt", kNoSecondWString,
                             "Target: y"},
                    BareCase{"NoItemAfterComponent", "z.tgt", RenderLines(Component("de6e")),
                             "Target: z  DOS .exe file (16-bit Executable) [z.tgt]"},
                    BareCase{"StarItemAfterComponent", "s.tgt",
                             RenderLines(Component("de6e")) + RenderLines(Item("*.c")),
                             "Target: s  DOS .exe file (16-bit Executable) [s.tgt]"}),
    [](const testing::TestParamInfo<BareCase>& param) { return std::string(param.param.name); });

TEST_F(ProjectTreeTest, UnreadableProjectAddsNothing) {
    bool scanned = false;
    EXPECT_EQ(Load(dir_.Join("missing.wpj"),
                   [&](WTreeStore&, const WString&, ParseLiterals) {
                       scanned = true;
                       return ScanOutcome{};
                   }),
              false);
    EXPECT_EQ(tree_.Count(), 0u);
    EXPECT_EQ(scanned, false);
}

TEST_F(ProjectTreeTest, DependencyScanRunsLastAndItsOutcomeIsPassedOut) {
    WriteTarget("t.tgt", CodeAndName("nw2e", "t.exe"));
    const std::string path = WriteProject("p.wpj", {"t.tgt"});
    std::string folderSeen;
    std::size_t nodesSeen = 0;
    ParseLiterals flagSeen = ParseLiterals::Off;
    ScanOutcome outcome;
    ASSERT_EQ(LoadProject(
                  tree_, WFilePath(std::string_view(path)), fs_, ParseLiterals::On,
                  [&](WTreeStore& tree, const WString& folder, ParseLiterals flag) {
                      folderSeen = folder.Str();
                      nodesSeen = tree.Count();
                      flagSeen = flag;
                      return ScanOutcome{false, 7};
                  },
                  &outcome),
              true);
    EXPECT_EQ(folderSeen, dir_.path() + "/");
    EXPECT_EQ(nodesSeen, 6u);  // project, target and its four children: the scan comes last
    EXPECT_EQ(flagSeen, ParseLiterals::On);
    EXPECT_EQ(outcome.complete, false);
    EXPECT_EQ(outcome.nodesAdded, 7u);
}

TEST_F(ProjectTreeTest, ProjectAndTargetsOfDifferentForms) {
    Values nulTarget = CodeAndName("w_6e", "old.exe");
    Append(nulTarget, Switch("WCC", "w????Include directories:", true, "$(%watcom)\\h;..\\.."));
    WriteTarget("old.tgt", nulTarget, "38");
    Values newTarget = CodeAndName("nc2e", "new.exe");
    Append(newTarget, Switch("WCC", "n????WLANG_i", false, "..\\h", SwitchLayout::Newer));
    WriteTarget("new.tgt", newTarget, "42");
    ASSERT_EQ(Load(WriteProject("p.wpj", {"old.tgt", "new.tgt"}, "37")), true);
    EXPECT_EQ(Dump(),
              "Project: p [p.wpj]\n"
              " Target: old  Windows 3.x (16-bit Executable) [old.tgt]\n"
              "  Target Name: old.exe\n"
              "  Default Include directories: $(%watcom)\\h;$(%watcom)\\h\\win\n"
              "  Debug Switches\n"
              "   (WCC) Include directories: $(%watcom)\\h;..\\..\n"
              "  Dependency Filelist\n"
              "  Filelist\n"
              " Target: new  Windows NT character mode executable (32-bit Executable) "
              "[new.tgt]\n"
              "  Target Name: new.exe\n"
              "  Default Include directories: $(%watcom)\\h;$(%watcom)\\h\\nt\n"
              "  Release Switches\n"
              "   (WCC) Include directories: ..\\h\n"
              "  Dependency Filelist\n"
              "  Filelist\n");
}

struct NameCase {
    const char* path;
    const char* baseName;
    const char* nameWithExtension;
};

TEST(LabelNamesTest, BaseNameAndNameWithExtension) {
    for (const NameCase& test : {
             NameCase{"c:\\p\\N.wpj", "N", "N.wpj"},
             NameCase{"/p/sub/a.b.tgt", "a.b", "a.b.tgt"},
             NameCase{"win\\draw16.tgt", "draw16", "draw16.tgt"},
             NameCase{"mixed/dir\\x.y", "x", "x.y"},
             NameCase{"noext", "noext", "noext"},
             NameCase{"a.", "a.", "a."},
             NameCase{"a..b", "a.", "a..b"},
             NameCase{"a.b..", "a", "a.b.."},
             NameCase{".profile", "", ".profile"},
             NameCase{"dir\\", "", ""},
             NameCase{"", "", ""},
         }) {
        SCOPED_TRACE(test.path);
        EXPECT_EQ(BaseNameOf(test.path).Str(), test.baseName);
        EXPECT_EQ(FileNameWithExtensionOf(test.path).Str(), test.nameWithExtension);
    }
}

TEST(LabelNamesTest, ProjectFolderEndsWithTheLastSeparator) {
    EXPECT_EQ(ProjectFolderOf("c:\\dev\\p/N.wpj").Str(), "c:\\dev\\p/");
    EXPECT_EQ(ProjectFolderOf("c:\\dev\\N.wpj").Str(), "c:\\dev\\");
    EXPECT_EQ(ProjectFolderOf("N.wpj").Str(), "");
    EXPECT_EQ(DependencyFilelistText().Str(), "Dependency Filelist");
    EXPECT_EQ(FilelistText().Str(), "Filelist");
}

// DumpTree

WTreeItem AddChild(WTreeStore& tree, WTreeItem parent, std::string_view label) {
    return tree.Add(label, parent, 2, 2, WTreePosition::Last());
}

TEST(DumpTreeTest, ProjectWithOneBareTargetIsTwoLines) {
    WTreeStore tree;
    const WTreeItem project = AddChild(tree, kNoItem, "Project: N [N.wpj]");
    AddChild(tree, project, "Target: T");
    WString text;
    DumpTree(tree, project, text, 0);
    EXPECT_EQ(text.Str(), "Project: N [N.wpj]\n Target: T\n");
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
    std::size_t lineEnds = 0;
    std::string lastLabel;

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const std::string_view written(text, static_cast<std::size_t>(count));
        characters += written.size();
        if (written == "\n") {
            ++lineEnds;
        } else if (!written.empty() && written.find_first_not_of(' ') != std::string_view::npos) {
            lastLabel = written;
        }
        return count;
    }
    int_type overflow(int_type c) override {
        characters += c == traits_type::eof() ? 0 : 1;
        return c;
    }
};

TEST(DumpTreeTest, FiftyThousandLevelsDeep) {
    constexpr std::size_t kDepth = 50'000;
    WTreeStore tree;
    WTreeItem parent = kNoItem;
    WTreeItem top = kNoItem;
    for (std::size_t level = 0; level < kDepth; ++level) {
        parent = AddChild(tree, parent, level + 1 == kDepth ? "deepest" : "n");
        top = top == kNoItem ? parent : top;
    }
    AddChild(tree, kNoItem, "second root");
    CountingBuffer counter;
    std::ostream out(&counter);
    DumpTree(tree, top, out, 0);
    EXPECT_EQ(counter.lineEnds, kDepth + 1);
    EXPECT_EQ(counter.lastLabel, "second root");
    // Blanks 0 + 1 + ... + (depth - 1), one label character per node but the
    // last, and the two named labels, and the line ends.
    const std::size_t blanks = kDepth * (kDepth - 1) / 2;
    EXPECT_EQ(counter.characters, blanks + (kDepth - 1) + 7 + 11 + (kDepth + 1));
}

TEST(DumpTreeTest, TextAndStreamFormsAgreeOnADeepTree) {
    WTreeStore tree;
    WTreeItem parent = kNoItem;
    const WTreeItem top = AddChild(tree, kNoItem, "top");
    parent = top;
    for (int level = 0; level < 3000; ++level) {
        parent = AddChild(tree, parent, "n" + std::to_string(level));
        AddChild(tree, tree.Parent(parent), "leaf");
    }
    WString text;
    DumpTree(tree, top, text, 0);
    std::ostringstream out;
    DumpTree(tree, top, out, 0);
    EXPECT_EQ(text.Str(), out.str());
    EXPECT_EQ(text.Str().substr(text.GetLength() - 7), "\n leaf\n");
}

}  // namespace

namespace {

// The bundled example, compared with its hand-written tree (the dependency
// scan, which adds nodes below the sources and "Filelist", is left out).
TEST(ExampleProjectTest, ShapesTreeBeforeTheScan) {
    const std::string folder = ExamplesFolder() + "/shapes";
    HostFs fs;
    WTreeStore tree;
    ASSERT_EQ(LoadProject(tree, WFilePath(std::string_view(folder + "/shapes.wpj")), fs,
                          ParseLiterals::Off, DependencyScan()),
              true);
    WString text;
    DumpTree(tree, tree.FirstRoot(), text, 0);
    EXPECT_EQ(text.Str(), ReadWhole(folder + "/expected/tree-without-scan.txt"));
}

}  // namespace

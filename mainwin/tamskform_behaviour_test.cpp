// The main form's behaviour, driven through the class library's interface
// alone, so that the same cases run on every backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>

#include "classlib/core/hostfs.h"
#include "classlib/core/messagetext.h"
#include "classlib/gui/wapplication.h"
#include "classlib/gui/wevents.h"
#include "depscan/projectload.h"
#include "mainwin/applicationclass.h"
#include "mainwin/commandline.h"
#include "mainwin/mainform.h"
#include "mainwin/statusmessages.h"
#include "mainwin/tamskform.h"
#include "project/linesource.h"
#include "project/projectfilescan.h"
#include "tests/support/projectwriter.h"
#include "tests/support/tempdir.h"
#ifdef _WIN32
#include "classlib/win32/wwin32native.h"
#endif

namespace {

namespace fs = std::filesystem;

WMenuItem* MenuItem(int id) {
    return mainForm && mainForm->menu_1 ? mainForm->menu_1->FindItem(id) : nullptr;
}

// Chooses a menu command as the user does; a missing or disabled item fails the test.
void Choose(int id) {
    WMenuItem* item = MenuItem(id);
    ASSERT_TRUE(item && item->IsEnabled()) << "item " << id << " not usable";
    WDispatchEvent(item, ClickEvent, nullptr);
}

// The caption, then one letter per item Load, Export, Parse, Copy, Exit:
// E enabled, - disabled, C checked.
std::string WindowState() {
    std::string state = mainForm->GetText().Str() + " ";
    for (int id : {TamskForm::LoadId, TamskForm::ExportId, TamskForm::ParseId, TamskForm::CopyId,
                   TamskForm::ExitId}) {
        const WMenuItem* item = MenuItem(id);
        state += !item ? '?' : item->GetCheck() ? 'C' : item->IsEnabled() ? 'E' : '-';
    }
    return state;
}

std::string Lines(const WTreeStore& store) {
    std::ostringstream out;
    if (store.FirstRoot() != kNoItem) {
        DumpTree(store, store.FirstRoot(), out, 0);
    }
    return out.str();
}

// The same project loaded without any window.
std::string HeadlessLines(const std::string& project, ParseLiterals parse = ParseLiterals::Off) {
    WTreeStore store;
    NativeHostFs fs;
    LoadProjectWithDependencies(store, WFilePath(std::string_view(project)), fs, parse);
    return Lines(store);
}

const std::string kShapes = "examples/shapes/shapes.wpj";

// What the host says when a file cannot be opened.
std::string OpenFailure(const std::string& path) {
    NativeHostFs fs;
    LineSource lines;
    return lines.Load(fs, path).reason;
}

// The status line's text as the host writes its paths.
std::string StatusLine() {
    return mainForm->GetStatusText().Str();
}
std::string AsShown(const std::string& message) {
    return WithPathSeparatorsOf(message, kHostPathStyle);
}

class TamskFormBehaviour : public testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = fs::current_path();
        fs::copy(ExamplesFolder(), dir_.Join("examples"), fs::copy_options::recursive);
        ASSERT_TRUE(fs::exists(Path(kShapes)));
        dir_.Write("notes.txt", "just some text\r\n");  // loads as a project without targets
        fs::current_path(dir_.path());
        WFileDialog::ClearAnswers();
        WMessageLoop::ResetForTesting();
    }

    void TearDown() override {
        DestroyMainForm();
        EXPECT_EQ(WFileDialog::PendingAnswers(), 0);
        WFileDialog::ClearAnswers();
        fs::current_path(previousFolder_);
    }

    std::string Path(const std::string& relative) const { return dir_.Join(relative); }
    // The settings file without the window's placement, which depends on the screen.
    std::string Settings() const {
        std::istringstream lines(ReadWhole(Path("Tamsk.Ini")));
        std::string kept;
        for (std::string line; std::getline(lines, line);) {
            kept += line.starts_with("Window") ? "" : line + "\n";
        }
        return kept;
    }

    void Start() { ASSERT_NE(CreateMainForm(), nullptr); }
    // An empty name cancels the dialog; "!name" drops the file on the window.
    void Load(const std::string& relative) {
        if (relative.starts_with('!')) {
            WDropFilesData dropped{{Path(relative.substr(1))}};
            WDispatchEvent(mainForm, DropFilesEvent, &dropped);
            return;
        }
        WFileDialog::SetNextAnswer(relative.empty() ? std::nullopt : std::optional(Path(relative)));
        Choose(TamskForm::LoadId);
    }
    // As the close box does.
    void Close() {
        mainForm->HandleCloseRequest();
        DestroyMainForm();
    }

    TempDir dir_;
    fs::path previousFolder_;
};

// steps: files chosen in turn, "" cancels, "#id" chooses a command; shown: the file in the
// caption; tree: the example loaded "plain" or with "literals", or the one line shown;
// status: the status line.
TEST_F(TamskFormBehaviour, CaptionMenuAndTreeThroughLoads) {
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        std::string shown;
        std::string menu;
        std::string tree;
        std::string status = "";
    };
    const std::string s = kShapes;
    // A step naming the parse option chooses it instead of loading a file.
    const std::string kParse = "#parse";
    const std::string refused = "not a project file (*.wpj): " + Path("notes.txt");
    const std::string hint = FirstStartHint();
    const std::string notAProject = "not a Watcom IDE project file: " + Path("notes.txt");
    const Case cases[] = {
        {"start", {}, "", "E-E-E", "", hint},
        {"load", {s}, s, "EEEEE", "plain"},
        {"reload, never doubled", {s, s}, s, "EEEEE", "plain"},
        {"cancelled", {s, ""}, "", "EEEEE", "", hint},
        {"failed",
         {s, "missing.wpj"},
         "",
         "E-E-E",
         "",
         "cannot read project file: " + OpenFailure(Path("missing.wpj"))},
        // A file that is not a project is refused as a cancelled load leaves the window.
        {"text file", {"notes.txt"}, "", "E-E-E", "", notAProject},
        {"text file after a load", {s, "notes.txt"}, "", "EEEEE", "", notAProject},
        {"parse checked, tree kept", {s, kParse}, s, "EECEE", "plain", ParseOptionText(true)},
        {"parse at next load", {s, kParse, s}, s, "EECEE", "literals"},
        {"parse cleared", {kParse, s, kParse, s}, s, "EEEEE", "plain"},
        {"dropped", {"!" + s}, s, "EEEEE", "plain"},
        {"dropped text file refused", {s, "!notes.txt"}, s, "EEEEE", "plain", refused},
    };
    const std::string plain = HeadlessLines(Path(kShapes));
    const std::string literals = HeadlessLines(Path(kShapes), ParseLiterals::On);
    ASSERT_TRUE(plain.size() > 200 && literals != plain);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Path("Tamsk.Ini"));
        Start();
        EXPECT_EQ(mainForm->fileDialog->GetInitialPath().Str(), ".");
        for (const std::string& step : c.steps) {
            step == kParse ? Choose(TamskForm::ParseId) : Load(step);
        }
        const std::string caption = c.shown.empty() ? "none" : Path(c.shown);
        EXPECT_EQ(WindowState(), "Watcom Project [" + caption + "] " + c.menu);
        EXPECT_EQ(Lines(mainForm->tv_1->Store()), c.tree == "plain"      ? plain
                                                  : c.tree == "literals" ? literals
                                                                         : c.tree);
        EXPECT_EQ(StatusLine(), AsShown(c.status));
        // The first node is current once a project shows.
        EXPECT_EQ(mainForm->tv_1->GetSelectedItem(), mainForm->tv_1->Store().FirstRoot());
        Close();
    }
}

TEST_F(TamskFormBehaviour, ExportWritesTheTreeBesideTheProject) {
    Start();
    Load(kShapes);
    const std::string exported = Path("examples/shapes/shapes_dep.Txt");
    std::string expected;
    std::istringstream lines(HeadlessLines(Path(kShapes)));
    for (std::string line; std::getline(lines, line);) {
        expected += line + "\r\n";
    }
    Choose(TamskForm::ExportId);
    EXPECT_EQ(ReadWhole(exported), expected);
    Choose(TamskForm::ExportId);
    EXPECT_EQ(ReadWhole(exported), expected);
    const auto lineCount = std::count(expected.begin(), expected.end(), '\n');
    // The time of day tells a second export from the first.
    const std::string time = StatusLine().substr(StatusLine().find(" at ") + 4, 8);
    EXPECT_EQ(StatusLine(), AsShown(ExportWrittenText(exported, lineCount, time)));
    EXPECT_EQ(StatusLine(), AsShown("Wrote " + GroupedCount(lineCount) + " lines at " + time +
                                    " to " + exported));
    // A folder in the way: the status line says so, and nothing is lost.
    fs::remove(exported);
    fs::create_directory(exported);
    Choose(TamskForm::ExportId);
    EXPECT_TRUE(StatusLine().starts_with("Could not write the dependency file: ")) << StatusLine();
    fs::remove(exported);
#ifndef _WIN32  // a link needs a privilege there
    // The dependency file's name leads to the project file itself: it is left whole.
    fs::create_symlink("shapes.wpj", exported);
    const std::string project = ReadWhole(Path(kShapes));
    Choose(TamskForm::ExportId);
    EXPECT_EQ(StatusLine(), "Could not write the dependency file: " + exported +
                                ": is a file this project reads; left untouched");
    EXPECT_EQ(ReadWhole(Path(kShapes)), project);
    fs::remove(exported);
#endif
    // After a cancelled load the tree is empty and nothing is written.
    Load("");
    Choose(TamskForm::ExportId);
    EXPECT_EQ(ReadWhole(exported), "<missing>");
    EXPECT_EQ(StatusLine(), "Nothing to export: no project is loaded");
}

// The program ends by the close box or E&xit with 0 and its settings written;
// without a window it ends with -1 and writes nothing. A project named on the
// command line opens as if chosen in the load dialog; anything else is ignored.
TEST_F(TamskFormBehaviour, ProgramEnds) {
    class Ending : public WObject {
    public:
        int how = 0;
        bool OnRun(WObject*, void*) {
            if (how == 1) {
                Choose(TamskForm::ExitId);
            } else if (how == 0) {
                mainForm->PostClose();
            }
            return false;
        }
    };
    const std::string written = "[Options]\r\nParseSource=false\r\n";
    // The path named on the command line is made absolute, in the host's own form.
    const std::string folder = "[Options]\r\nFolder=" + AsShown(Path("examples/shapes/")) + "\r\n";
    const struct {
        int how;  // 0 close box, 1 E&xit, 2 window refused
        std::string argument;
        int code;
        std::string settings;
    } cases[] = {
        {0, "", 0, written},
        {1, "", 0, written},
        {2, "", -1, "<missing>\n"},
        {0, Path(kShapes), 0, folder + written.substr(11)},
        {0, Path("notes.txt"), 0, written},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.how) + c.argument);
        fs::remove(Path("Tamsk.Ini"));
        ApplicationClass application;
        Ending ending;
        ending.how = c.how;
        // Called before the generated run handler, which runs the message loop.
        WRegisterEvent(&application, RunEvent, &ending, WHandler(&Ending::OnRun));
        WForm::RefuseWindowCreationForTesting(c.how == 2);
        std::string program = "tamsk";
        std::string argument = c.argument;
        char* argv[] = {program.data(), argument.data(), nullptr};
        const int code = application.Run(c.argument.empty() ? 1 : 2, argv);
        WForm::RefuseWindowCreationForTesting(false);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(mainForm, nullptr);
        EXPECT_EQ(Settings(), c.settings);
    }
}

// One existing regular file named *.wpj (any case) opens; anything else is said why.
TEST_F(TamskFormBehaviour, ProjectFileOnTheCommandLine) {
    dir_.Write("UP.WPJ", "");
    fs::create_directory(Path("dir.wpj"));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"UP.WPJ"}, ""},
        {{"UP.WPJ", "UP.WPJ"}, "expected one project file (*.wpj), got 2 arguments; none opened"},
        {{"notes.txt"}, "not a project file (*.wpj): notes.txt"},
        {{"gone.wpj"}, "no such project file: gone.wpj"},
        {{"dir.wpj"}, "not a file: dir.wpj"},
    };
    for (const auto& [arguments, complaint] : cases) {
        NativeHostFs fs;
        std::string said;
        EXPECT_EQ(ProjectFileOf(arguments, fs, said).has_value(), complaint.empty()) << complaint;
        EXPECT_EQ(said, complaint);
    }
    // The window says it on its status line; a relative path is made absolute.
    Start();
    mainForm->OpenFromCommandLine({"gone.wpj", "extra"});
    EXPECT_EQ(StatusLine(), "expected one project file (*.wpj), got 2 arguments; none opened");
    mainForm->OpenFromCommandLine({kShapes});
    EXPECT_EQ(WindowState(), "Watcom Project [" + AbsoluteProjectPath(kShapes) + "] EEEEE");
    EXPECT_EQ(mainForm->fileDialog->GetFileName(0).Str(), AbsoluteProjectPath(kShapes));
}

// What a load met that the tree does not show reaches the status line.
TEST_F(TamskFormBehaviour, LoadProblemsOnTheStatusLine) {
    projectwriter::TargetLayout layout;
    layout.items = {"a.c", "gone.c", "lost.c"};
    dir_.Write("p.wpj", projectwriter::ProjectFileText({"t.tgt", "t2.tgt", "t3.tgt"}));
    dir_.Write("t.tgt", projectwriter::TargetFileText(layout));
    dir_.Write("a.c", "");
    Start();
    Load("p.wpj");
    EXPECT_EQ(WindowState(), "Watcom Project [" + Path("p.wpj") + "] EEEEE");
    EXPECT_EQ(StatusLine(),
              AsShown("2 of 3 target files could not be read: t2.tgt, t3.tgt; first: " +
                      OpenFailure(Path("t2.tgt")) +
                      "; 2 source files named by the project were not found: gone.c, lost.c"));
}

// The View menu runs the tree's keys: '*' on the current node opens everything
// below it. On Win32 the keys come as characters, from the main keyboard as
// from the numeric keypad, whose own key presses the control no longer takes.
TEST_F(TamskFormBehaviour, ViewMenuAndKeysExpandAllBelow) {
    Start();
    Load(kShapes);
    WTreeView& tree = *mainForm->tv_1;
    const WTreeStore& store = tree.Store();
    const WTreeItem root = store.FirstRoot();
    const auto closed = [&](WTreeItem item) {
        return store.HasChildren(item) && !tree.IsExpanded(item);
    };
#ifdef _WIN32
    HWND control = Win32Window(tree);
    const auto key = [&](UINT message, WPARAM key) { SendMessageW(control, message, key, 0); };
    key(WM_CHAR, L'-');
    EXPECT_TRUE(closed(root));
    key(WM_KEYDOWN, VK_ADD);
    EXPECT_TRUE(closed(root));
    key(WM_CHAR, L'+');
    EXPECT_FALSE(closed(root));
    EXPECT_NE(store.FindDescendant(root, closed), kNoItem);
    key(WM_KEYDOWN, VK_MULTIPLY);
    key(WM_CHAR, L'*');
    EXPECT_EQ(store.FindDescendant(root, closed), kNoItem);
    key(WM_CHAR, L'-');
    EXPECT_TRUE(closed(root));
#endif
    Choose(TamskForm::ExpandBelowId);
    EXPECT_FALSE(closed(root));
    EXPECT_EQ(store.FindDescendant(root, closed), kNoItem);

    // Past the work limit it stops as Esc stops it, shows what it opened and says so.
    Load(kShapes);
    tree.SetWorkLimit(3);
    Choose(TamskForm::ExpandBelowId);
    tree.SetWorkLimit(kDefaultNodeLimit);
    EXPECT_FALSE(closed(store.FirstRoot()));
    EXPECT_NE(store.FindDescendant(store.FirstRoot(), closed), kNoItem);
    EXPECT_EQ(StatusLine(), ExpandStoppedText());
}

#ifdef _WIN32
// Selecting a node (Find) scrolls sideways only as far as the start of its row
// needs: a node deep in the tree shows its expander, image and whole label; a
// node at the top brings the view back to its left edge.
TEST_F(TamskFormBehaviour, SelectedNodeShowsTheStartOfItsRow) {
    Start();
    WTreeView& tree = *mainForm->tv_1;
    const WTreeItem top = tree.AddItem("top", kNoItem, 0, 0, WTreePosition::Last());
    WTreeItem deepest = top;
    for (int level = 1; level <= 30; ++level) {
        deepest = tree.AddItem("level " + std::to_string(level) + " of a long chain", deepest, 2, 2,
                               WTreePosition::Last());
    }
    HWND control = Win32Window(tree);
    const int lead = static_cast<int>(SendMessageW(control, TVM_GETINDENT, 0, 0)) + 16;
    RECT client{};
    GetClientRect(control, &client);
    const auto select = [&](WTreeItem item) {
        tree.SelectItem(item);
        HTREEITEM selected = TreeView_GetSelection(control);
        RECT label{};
        std::memcpy(&label, &selected, sizeof selected);
        SendMessageW(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
        return label;
    };
    const RECT deep = select(deepest);
    EXPECT_GT(GetScrollPos(control, SB_HORZ), 0);
    EXPECT_TRUE(deep.left >= lead && deep.right <= client.right) << deep.left << ".." << deep.right;
    const RECT shallow = select(top);
    EXPECT_EQ(GetScrollPos(control, SB_HORZ), 0);
    EXPECT_GE(shallow.left, lead);
}
#endif

TEST_F(TamskFormBehaviour, ParseSourceValues) {
    const std::pair<const char*, bool> values[] = {{"true", true}, {"TRUE", true}, {"1", true},
                                                   {"yes", false}, {"2", false},   {"", false}};
    for (const auto& [stored, checked] : values) {
        SCOPED_TRACE(stored);
        dir_.Write("Tamsk.Ini",
                   std::string("[Other]\nKeep=me\n[options]\nparsesource=") + stored + "\n");
        Start();
        EXPECT_EQ(WindowState().substr(WindowState().size() - 5), checked ? "E-C-E" : "E-E-E");
        Close();
        EXPECT_EQ(Settings(), std::string("[Other]\r\nKeep=me\r\n[options]\r\nparsesource=") +
                                  (checked ? "true" : "false") + "\r\n");
    }
}

// A stored placement (left, top, width, height) is taken where it lies wholly
// on the screen, else moved and shrunk onto it; the one shown is written back.
TEST_F(TamskFormBehaviour, WindowPlacementIsRestoredOnTheScreen) {
    const auto settings = [](const WRect& r) {
        return "[Options]\r\nWindowLeft=" + std::to_string(r.x) +
               "\r\nWindowTop=" + std::to_string(r.y) + "\r\nWindowWidth=" + std::to_string(r.w) +
               "\r\nWindowHeight=" + std::to_string(r.h) + "\r\n";
    };
    const WRect stored[] = {{30, 40, 500, 420}, {-9000, 9000, 500, 420}, {0, 0, 99999, 99999}};
    std::vector<WRect> shown;
    for (const WRect& placement : stored) {
        dir_.Write("Tamsk.Ini", settings(placement));
        Start();
        shown.push_back(mainForm->GetPlacement());
        Close();
        EXPECT_EQ(ReadWhole(Path("Tamsk.Ini")), settings(shown.back()) + "ParseSource=false\r\n");
    }
    EXPECT_EQ(shown[0], stored[0]);
    // The one too big fills the screen; the one far off is moved wholly inside it.
    const WRect& screen = shown[2];
    const WRect& moved = shown[1];
    EXPECT_TRUE(screen.w < 99999 && screen.h < 99999);
    EXPECT_TRUE(moved.x >= screen.x && moved.x + moved.w <= screen.x + screen.w &&
                moved.y >= screen.y && moved.y + moved.h <= screen.y + screen.h);
}

// The window cannot be made smaller than it was created, so that its menu and
// its status line stay readable.
TEST_F(TamskFormBehaviour, WindowKeepsItsMinimumSize) {
    Start();
    const WSize created = mainForm->GetOuterSize();
    ASSERT_TRUE(created.w > 100 && created.h > 100);
    const WRect at = mainForm->GetRectangle();
    const std::pair<WSize, WSize> asked[] = {
        {{1, 1}, created},
        {{created.w + 60, created.h - 40}, {created.w + 60, created.h}},
        {{created.w - 40, created.h + 30}, {created.w, created.h + 30}},
    };
    for (const auto& [size, shown] : asked) {
        mainForm->Move(at.x, at.y, size.w, size.h);
        const WSize outer = mainForm->GetOuterSize();
        EXPECT_EQ(outer, shown) << size.w << "x" << size.h << " shown as " << outer.w << "x"
                                << outer.h;
    }
}

TEST_F(TamskFormBehaviour, FolderIsKeptAfterACancelledDialogAndStoredAfterAChoice) {
    const std::string foreign = "[Options]\r\nFolder=C:\\work\\app\\\r\nParseSource=true\r\n";
    dir_.Write("Tamsk.Ini", foreign);
    Start();
    EXPECT_EQ(mainForm->fileDialog->GetInitialPath().Str(), "C:\\work\\app\\");
    Load("");
    Choose(TamskForm::ParseId);
    Choose(TamskForm::ParseId);
    Close();
    EXPECT_EQ(Settings(), foreign);
    // Within the run the load dialog opens where the last file was chosen; a
    // failed load still stores that folder.
    Start();
    Load("elsewhere/missing.wpj");
    EXPECT_EQ(mainForm->fileDialog->GetStartFolder().Str(), Path("elsewhere/"));
    Close();
    EXPECT_EQ(Settings(), "[Options]\r\nFolder=" + Path("elsewhere/") + "\r\nParseSource=true\r\n");
}

}  // namespace

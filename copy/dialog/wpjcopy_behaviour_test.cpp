// The copy dialog's behaviour, driven through the class library's interface
// alone, so that the same cases run on every backend.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "classlib/core/pathrules.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wfolderbrowser.h"
#include "classlib/gui/wtreeview.h"
#include "copy/dialog/wpjcopy.h"
#include "project/projecttree.h"
#include "tests/support/tempdir.h"
#ifdef _WIN32
#include "classlib/win32/wwin32native.h"
#endif

namespace {

// The dialog with its generated controls in reach; the script runs once the
// controls are set up, and the dialog then ends before its modal run.
class ProbedCopy : public WPJCopy {
public:
    using __WPJCopy_Base::cb_1;
    using __WPJCopy_Base::cb_2;
    using __WPJCopy_Base::lv_1;
    using __WPJCopy_Base::textb_1;

    void Run(WTreeView& tree, std::function<void()> script) {
        SetProjectTree(&tree);
        script_ = std::move(script);
        EXPECT_TRUE(Create(nullptr, "ID_WPJCopy"));
        EXPECT_FALSE(HasWindow());
        EXPECT_EQ(textb_1, nullptr);  // the controls go with the window
    }
    // A click as the user makes it: only on an enabled button.
    void Click(WCommandButton& button) {
        ASSERT_TRUE(button.IsEnabled()) << button.GetName().Str();
        WDispatchEvent(&button, ClickEvent, nullptr);
    }
    std::string Cell(int row, int column) const {
        return std::string(lv_1->Store().Cell(row, column));
    }

protected:
    void SetupControls() override {
        WPJCopy::SetupControls();
        script_();
        EndDialog(0);
    }

private:
    std::function<void()> script_;
};

// A loaded project as the tree holds it: p/demo.wpj with src\main.c listed.
void FillProject(WTreeView& view, const TempDir& temp) {
    temp.Write("p/demo.wpj", "wpj");
    temp.Write("p/src/main.c", "main");
    WTreeStore& tree = view.Store();
    const WTreeItem project =
        tree.Add("Project: demo [demo.wpj]", kNoItem, ProjectImage, ProjectImage,
                 WTreePosition::Last(), std::make_unique<WString>(temp.Join("p") + "/"));
    const WTreeItem target = tree.Add("Target: demo  DOS .exe file [demo.wpj]", project, GroupImage,
                                      GroupImage, WTreePosition::Last());
    const WTreeItem filelist =
        tree.Add(FilelistText().View(), target, GroupImage, GroupImage, WTreePosition::Last());
    const WTreeItem extension =
        tree.Add("C", filelist, GroupImage, GroupImage, WTreePosition::Sorted());
    tree.Add("src\\main.c", extension, FileImage, FileImage, WTreePosition::Sorted());
}

class WPJCopyBehaviour : public testing::Test {
protected:
    void SetUp() override { WFolderBrowser::ClearAnswers(); }
    void TearDown() override {
        EXPECT_EQ(WFolderBrowser::PendingAnswers(), 0);
        WFolderBrowser::ClearAnswers();
    }
    TempDir temp_;
    WTreeView tree_;
};

// Each column at least as wide as the control makes it when it fits the
// column to its cells itself, with its own font and margins.
void ExpectColumnsFitAsTheControlFitsThem(const WListView& list) {
#ifdef _WIN32
    HWND control = Win32Window(list);
    for (int column = 0; column < list.Store().ColumnCount(); ++column) {
        const int width = ListView_GetColumnWidth(control, column);
        ListView_SetColumnWidth(control, column, LVSCW_AUTOSIZE);
        EXPECT_GE(width, ListView_GetColumnWidth(control, column)) << "column " << column;
        ListView_SetColumnWidth(control, column, width);
    }
#else
    (void)list;  // the Qt widgets' own test compares with the view's size hints
#endif
}

// Copy is enabled only by a successful Browse; after a run, even one with no
// project to copy, both buttons stay disabled. Without a project the caption
// is "Copy" alone.
TEST_F(WPJCopyBehaviour, StateTableWithAScriptedBrowse) {
    ProbedCopy dialog;
    dialog.Run(tree_, [&] {
        EXPECT_EQ(dialog.GetText().Str(), "Copy");
        dialog.textb_1->SetText("typed");
        EXPECT_FALSE(dialog.cb_2->IsEnabled());
        WFolderBrowser::SetNextAnswer(std::nullopt);
        dialog.Click(*dialog.cb_1);
        EXPECT_EQ(WFolderBrowser::LastTitle(), "Select Destination Folder");
        EXPECT_EQ(WFolderBrowser::LastInitialFolder(), "typed");
        EXPECT_EQ(dialog.textb_1->GetText().Str(), "typed");
        EXPECT_FALSE(dialog.cb_2->IsEnabled());
        WFolderBrowser::SetNextAnswer(temp_.path());
        dialog.Click(*dialog.cb_1);
        EXPECT_EQ(dialog.textb_1->GetText().Str(), temp_.path());
        EXPECT_TRUE(dialog.cb_2->IsEnabled());
        // A second Browse opens on the chosen folder; cancelling keeps the state.
        WFolderBrowser::SetNextAnswer(std::nullopt);
        dialog.Click(*dialog.cb_1);
        EXPECT_EQ(WFolderBrowser::LastInitialFolder(), temp_.path());
        EXPECT_TRUE(dialog.cb_2->IsEnabled());
        dialog.Click(*dialog.cb_2);
        EXPECT_EQ(dialog.lv_1->Store().RowCount(), 0);
        EXPECT_EQ(dialog.GetStatusText().Str(), "Nothing copied: no project is loaded.");
        EXPECT_FALSE(dialog.cb_1->IsEnabled());
        EXPECT_FALSE(dialog.cb_2->IsEnabled());
    });
}

TEST_F(WPJCopyBehaviour, CopyGoesToTheEditedFolder) {
    FillProject(tree_, temp_);
    WFolderBrowser::SetNextAnswer(temp_.Join("chosen"));
    const std::string edited = temp_.Join("edited");
    ProbedCopy dialog;
    dialog.Run(tree_, [&] {
        EXPECT_EQ(dialog.GetText().Str(), "CopyProject: demo [demo.wpj]");
        dialog.Click(*dialog.cb_1);
        dialog.textb_1->SetText(edited);
        dialog.Click(*dialog.cb_2);
        ASSERT_EQ(dialog.lv_1->Store().RowCount(), 3);
        EXPECT_EQ(dialog.Cell(2, 0) + "|" + dialog.Cell(2, 1) + "|" + dialog.Cell(2, 2),
                  "src\\main.c|" + WithNativeSeparators(edited + "/src") + "|copied");
        EXPECT_EQ(dialog.GetStatusText().Str(), "3 copied, 0 failed");
        // The columns were sized to their cells, past the header width.
        EXPECT_GT(dialog.lv_1->Store().ColumnAt(1).width, dialog.lv_1->Store().MeasureText(edited));
        ExpectColumnsFitAsTheControlFitsThem(*dialog.lv_1);
    });
    EXPECT_EQ(ReadWhole(temp_.Join("edited/src/main.c")), "main");
    EXPECT_EQ(ReadWhole(temp_.Join("chosen/demo.wpj")), "<missing>");
    // Opened again, the dialog keeps nothing of the last run; with the box
    // empty the folder browser opens on the folder chosen last.
    ProbedCopy again;
    again.Run(tree_, [&] {
        EXPECT_EQ(again.textb_1->GetText().Str(), "");
        EXPECT_EQ(again.lv_1->Store().RowCount(), 0);
        EXPECT_FALSE(again.cb_2->IsEnabled());
        WFolderBrowser::SetNextAnswer(std::nullopt);
        again.Click(*again.cb_1);
        EXPECT_EQ(WFolderBrowser::LastInitialFolder(), temp_.Join("chosen"));
    });
}

}  // namespace

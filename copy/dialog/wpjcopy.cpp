#include "copy/dialog/wpjcopy.h"

#include <optional>

#include "classlib/core/hostfs.h"
#include "classlib/gui/wfolderbrowser.h"
#include "classlib/gui/wicon.h"
#include "classlib/gui/wtreeview.h"
#include "copy/copycolumns.h"
#include "copy/copyrun.h"

namespace {

constexpr int kApplicationIcon = 100;

}  // namespace

WPJCopy::~WPJCopy() = default;

void WPJCopy::SetupControls() {
    SetSmallIcon(WIcon(kApplicationIcon));
    // The label names the box, which comes before it in the tab order.
    label_1->SetBuddy(textb_1.get());
    cb_2->Disable();
    for (const std::string_view header : kCopyColumnHeaders) {
        lv_1->AddColumn(header, WListStore::kAppend, WListStore::kFitCellsAndHeader);
    }
    WString caption("Copy");
    if (projectTree_ != nullptr) {
        const WTreeStore& tree = projectTree_->Store();
        caption.Concat(tree.Label(tree.FirstRoot()));
    }
    SetText(caption.View());
}

bool WPJCopy::cb_1_Click(WObject* /*source*/, void* /*eventData*/) {
    WString folder;
    if (BrowseForFolder("Select Destination Folder", textb_1->GetText().View(), folder)) {
        textb_1->SetText(folder.View());
        cb_2->Enable();
    }
    return false;
}

bool WPJCopy::cb_2_Click(WObject* /*source*/, void* /*eventData*/) {
    CopyProjectFiles();
    return false;
}

bool WPJCopy::BrowseForFolder(std::string_view title, std::string_view initialFolder,
                              WString& folder) {
    const std::optional<std::string> chosen =
        WFolderBrowser::Choose(GetHandle(), title, initialFolder);
    if (!chosen) {
        return false;
    }
    folder.Assign(*chosen);
    return true;
}

void WPJCopy::CopyProjectFiles() {
    cb_2->Disable();
    cb_1->Disable();
    CopyRunSummary summary;
    if (projectTree_ != nullptr) {
        NativeHostFs fs;
        summary = RunProjectCopy(projectTree_->Store(), textb_1->GetText().View(), lv_1->Store(),
                                 fs, FolderCellSeparators::Native);
    }
    // Fitted once more at the end: a run without any file list fits them nowhere else.
    WListStore& results = lv_1->Store();
    for (int column = 0; column < results.ColumnCount(); ++column) {
        results.SetColumnWidth(column, WListStore::kFitCellsAndHeader);
    }
    SetStatusText(CopyRunSummaryText(summary));
}

#include "classlib/core/hostfs.h"
#include "classlib/gui/wcursor.h"
#include "copy/dialog/wpjcopy.h"
#include "depscan/depfile.h"
#include "depscan/projectload.h"
#include "mainwin/tamskform.h"

namespace {

constexpr const char* kScanStoppedNote =
    "The dependency scan stopped at its work limit: the tree shows what was found until then.";

}  // namespace

bool TamskForm::LoadProject(const WFilePath& projectPath, ScanOutcome* outcome) {
    const WWaitCursor wait(this);
    // Millions of nodes may come; the view follows once at the end.
    const WTreeView::BulkChange bulk(*tv_1);
    NativeHostFs fs;
    const ParseLiterals parse =
        parseItem != nullptr && parseItem->GetCheck() ? ParseLiterals::On : ParseLiterals::Off;
    return LoadProjectWithDependencies(tv_1->Store(), projectPath, fs, parse, outcome);
}

bool TamskForm::OnLoadProject(WObject* /*source*/, void* /*eventData*/) {
    tv_1->DeleteAllItems();
    SetStatusText("");
    SetCaptionValue("none");
    tv_1->Update();
    fileDialog->SetFilter({{"Watcom project file(*.wpj)", "*.wpj"}, {"", ""}});
    if (!fileDialog->ShowModal()) {
        return false;
    }
    const WFilePath path = fileDialog->GetFileName(0);
    SetCaptionValue("parsing...");
    Update();
    ScanOutcome outcome;
    const bool loaded = LoadProject(path, &outcome);
    SetCaptionValue(loaded && !path.IsEmpty() ? path.GetText() : "none");
    if (loaded && !outcome.complete) {
        SetStatusText(kScanStoppedNote);
    }
    for (WMenuItem* item : {exportItem, copyItem}) {
        if (item != nullptr) {
            item->Enable(loaded);
        }
    }
    return false;
}

bool TamskForm::OnExportDependencies(WObject* /*source*/, void* /*eventData*/) {
    if (tv_1->Store().FirstRoot() == kNoItem) {
        return false;
    }
    const WString dependencyFile = DependencyFilePath(fileDialog->GetFileName(0).View());
    NativeHostFs fs;
    ExportDependencies(tv_1->Store(), dependencyFile.View(), fs);
    return false;
}

bool TamskForm::OnParseStringLiterals(WObject* /*source*/, void* /*eventData*/) {
    parseItem->SetCheck(!parseItem->GetCheck());
    return false;
}

bool TamskForm::OnCopyProjectFiles(WObject* /*source*/, void* /*eventData*/) {
    WPJCopy copy;
    copy.SetProjectTree(tv_1);
    copy.Create(this, "ID_WPJCopy");
    return false;
}

bool TamskForm::OnExit(WObject* /*source*/, void* /*eventData*/) {
    PostClose();
    return false;
}

#include <cstdio>

#include "classlib/core/hostfs.h"
#include "classlib/gui/wcursor.h"
#include "classlib/gui/wtextprompt.h"
#include "copy/copyrun.h"
#include "copy/dialog/wpjcopy.h"
#include "depscan/depfile.h"
#include "depscan/projectload.h"
#include "mainwin/commandline.h"
#include "mainwin/tamskform.h"

namespace {

constexpr const char* kScanStoppedNote =
    "The dependency scan stopped at its work limit: the tree shows what was found until then.";
constexpr const char* kWalkStoppedNote = " (stopped at the work limit)";
constexpr const char* kFindTitle = "Find";
constexpr const char* kFindLabel = "Find nodes whose text contains:";

// The texts are joined rather than formatted: the platform's printf may not
// know the size_t conversion.
std::string ExportStatusText(std::string_view path, ExportResult result, std::size_t lines,
                             const std::string& reason) {
    if (result == ExportResult::Written || result == ExportResult::Stopped) {
        return "Wrote " + std::to_string(lines) + " lines to " + std::string(path) +
               (result == ExportResult::Stopped ? kWalkStoppedNote : "");
    }
    return "Could not write " + std::string(path) + ": " + reason;
}

// position 0: the count is still being made.
std::string FindStatusText(const std::string& searched, std::size_t position, std::size_t count) {
    const std::string quoted = "\"" + searched + "\": ";
    if (position == 0 && count == 0) {
        return quoted + "not found";
    }
    return quoted + "hit " + std::to_string(position) + " of " +
           (count == 0 ? std::string("...") : std::to_string(count));
}

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

void TamskForm::ClearProject() {
    search_.reset();
    tv_1->DeleteAllItems();
    SetStatusText("");
    SetCaptionValue("none");
    tv_1->Update();
}

bool TamskForm::OnLoadProject(WObject* /*source*/, void* /*eventData*/) {
    ClearProject();
    fileDialog->SetFilter({{"Watcom project file(*.wpj)", "*.wpj"}, {"", ""}});
    if (fileDialog->ShowModal()) {
        LoadChosenProject();
    }
    tv_1->SetFocus();
    return false;
}

void TamskForm::OpenFromCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return;
    }
    NativeHostFs fs;
    std::string complaint;
    if (const auto project = ProjectFileOf(arguments, fs, complaint)) {
        ClearProject();
        fileDialog->SetFileName(*project);
        LoadChosenProject();
        tv_1->SetFocus();
    } else {
        std::fprintf(stderr, "tamsk: %s\n", complaint.c_str());
    }
}

bool TamskForm::OnDropFiles(WObject* /*source*/, void* eventData) {
    const auto* dropped = static_cast<const WDropFilesData*>(eventData);
    NativeHostFs fs;
    std::string complaint;
    if (const auto project = ProjectFileOf(dropped->paths, fs, complaint)) {
        ClearProject();
        fileDialog->SetFileName(*project);
        LoadChosenProject();
        tv_1->SetFocus();
    } else {
        SetStatusText(complaint);
    }
    return false;
}

void TamskForm::LoadChosenProject() {
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
    tv_1->SelectItem(tv_1->Store().FirstRoot());
}

bool TamskForm::OnExportDependencies(WObject* /*source*/, void* /*eventData*/) {
    if (tv_1->Store().FirstRoot() == kNoItem) {
        return false;
    }
    const WString dependencyFile = DependencyFilePath(fileDialog->GetFileName(0).View());
    NativeHostFs fs;
    std::string reason;
    ExportResult result = ExportResult::Failed;
    std::size_t lines = 0;
    {
        const WWaitCursor wait(this);
        // The dependency file never lands on a file the project reads.
        if (IsReadByProject(tv_1->Store(), dependencyFile.View(), fs)) {
            reason = "it is a file this project reads; left untouched";
        } else {
            result = ExportDependencies(tv_1->Store(), dependencyFile.View(), fs, &reason,
                                        kDefaultNodeLimit, &lines);
        }
    }
    SetStatusText(ExportStatusText(dependencyFile.View(), result, lines, reason));
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

void TamskForm::OnFind() {
    const std::string previous = search_ ? search_->Text() : std::string();
    const auto text = WTextPrompt::Ask(this, kFindTitle, kFindLabel, previous);
    if (!text || text->empty()) {
        return;
    }
    search_ = std::make_unique<WTreeSearch>(tv_1->Store(), *text, kDefaultNodeLimit);
    // The first hit shows at once; counting them all may take a moment longer.
    const WTreeItem first = search_->FindFrom(tv_1->Store().FirstRoot());
    if (first == kNoItem) {
        SetStatusText(FindStatusText(*text, 0, 0));
        return;
    }
    tv_1->SelectItem(first);
    SetStatusText(FindStatusText(*text, 1, 0));
    Update();
    {
        const WWaitCursor wait(this);
        search_->Step(WTreeSearch::Direction::Forward);
    }
    ShowFindHit(first);
}

void TamskForm::OnFindAgain(WTreeSearch::Direction direction) {
    if (!search_) {
        OnFind();
        return;
    }
    const WWaitCursor wait(this);
    ShowFindHit(search_->Step(direction));
}

void TamskForm::ShowFindHit(WTreeItem hit) {
    if (hit != kNoItem) {
        tv_1->SelectItem(hit);
    }
    std::string status = FindStatusText(search_->Text(), search_->Position(), search_->Count());
    if (!search_->Complete()) {
        status += kWalkStoppedNote;
    }
    SetStatusText(status);
}

#include <cstdio>

#include "classlib/core/hostfs.h"
#include "classlib/gui/wcursor.h"
#include "classlib/gui/wtextprompt.h"
#include "copy/dialog/wpjcopy.h"
#include "depscan/depfile.h"
#include "depscan/projectload.h"
#include "mainwin/commandline.h"
#include "mainwin/statusmessages.h"
#include "mainwin/tamskform.h"
#include "project/projectfiles.h"
#include "project/projectfilescan.h"

namespace {

constexpr const char* kWalkStoppedNote = " (stopped at the work limit)";
constexpr const char* kFindTitle = "Find";
constexpr const char* kFindLabel = "Find nodes whose text contains:";

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
    SetStatusText(FirstStartHint());
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
        // The caption, the settings and the tree do not depend on how the path was typed.
        LoadNamedProject(AbsoluteProjectPath(*project));
    } else {
        // Started from a desktop, standard error shows nowhere.
        std::fprintf(stderr, "tamsk: %s\n", complaint.c_str());
        SetStatusText(complaint);
    }
}

bool TamskForm::OnDropFiles(WObject* /*source*/, void* eventData) {
    const auto* dropped = static_cast<const WDropFilesData*>(eventData);
    NativeHostFs fs;
    std::string complaint;
    if (const auto project = ProjectFileOf(dropped->paths, fs, complaint)) {
        LoadNamedProject(*project);
    } else {
        SetStatusText(complaint);
    }
    return false;
}

void TamskForm::LoadNamedProject(const std::string& path) {
    ClearProject();
    fileDialog->SetFileName(path);
    LoadChosenProject();
    tv_1->SetFocus();
}

void TamskForm::LoadChosenProject() {
    const WFilePath path = fileDialog->GetFileName(0);
    NativeHostFs fs;
    std::string complaint;
    const ProjectFileCheck check = CheckProjectFile(fs, path.View(), complaint);
    if (check == ProjectFileCheck::NotAProject) {
        // Taken as a project, its export would replace a real dependency
        // file: refused, the window stays as a cancelled load leaves it.
        SetStatusText(complaint);
        return;
    }
    SetCaptionValue("parsing...");
    Update();
    ScanOutcome outcome;
    const bool loaded = check == ProjectFileCheck::Project && LoadProject(path, &outcome);
    SetCaptionValue(loaded && !path.IsEmpty() ? path.GetText() : "none");
    SetStatusText(loaded ? LoadProblemsText(outcome) : complaint);
    for (WMenuItem* item : {exportItem, copyItem}) {
        if (item != nullptr) {
            item->Enable(loaded);
        }
    }
    tv_1->SelectItem(tv_1->Store().FirstRoot());
}

bool TamskForm::OnExportDependencies(WObject* /*source*/, void* /*eventData*/) {
    if (tv_1->Store().FirstRoot() == kNoItem) {
        SetStatusText(NothingToExportText());
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
            reason = ReadByProjectRefusal(dependencyFile.View());
        } else {
            result = ExportDependencies(tv_1->Store(), dependencyFile.View(), fs, &reason,
                                        kDefaultNodeLimit, &lines);
        }
    }
    SetStatusText(result == ExportResult::Written || result == ExportResult::Stopped
                      ? ExportWrittenText(dependencyFile.View(), lines, TimeOfDayText()) +
                            (result == ExportResult::Stopped ? kWalkStoppedNote : "")
                      : ExportFailedText(reason));
    return false;
}

bool TamskForm::OnParseStringLiterals(WObject* /*source*/, void* /*eventData*/) {
    parseItem->SetCheck(!parseItem->GetCheck());
    SetStatusText(ParseOptionText(parseItem->GetCheck()));
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

bool TamskForm::OnFind(WObject* /*source*/, void* /*eventData*/) {
    const std::string previous = search_ ? search_->Text() : std::string();
    const auto text = WTextPrompt::Ask(this, kFindTitle, kFindLabel, previous);
    if (!text || text->empty()) {
        return false;
    }
    search_ = std::make_unique<WTreeSearch>(tv_1->Store(), *text, kDefaultNodeLimit);
    // The first hit shows at once; counting them all may take a moment longer.
    const WTreeItem first = search_->FindFrom(tv_1->Store().FirstRoot());
    if (first == kNoItem) {
        SetStatusText(FindStatusText(*text, 0, 0));
        return false;
    }
    tv_1->SelectItem(first);
    SetStatusText(FindStatusText(*text, 1, 0));
    Update();
    {
        const WWaitCursor wait(this);
        search_->Step(WTreeSearch::Direction::Forward);
    }
    ShowFindHit(first);
    return false;
}

bool TamskForm::OnFindNext(WObject* /*source*/, void* /*eventData*/) {
    OnFindAgain(WTreeSearch::Direction::Forward);
    return false;
}

bool TamskForm::OnFindPrevious(WObject* /*source*/, void* /*eventData*/) {
    OnFindAgain(WTreeSearch::Direction::Backward);
    return false;
}

bool TamskForm::OnExpandAllBelow(WObject* /*source*/, void* /*eventData*/) {
    tv_1->ExpandSubtree(tv_1->GetSelectedItem());
    return false;
}

void TamskForm::OnFindAgain(WTreeSearch::Direction direction) {
    if (!search_) {
        OnFind(this, nullptr);
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

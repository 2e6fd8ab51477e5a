#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "classlib/core/wtreesearch.h"
#include "classlib/gui/wimagelist.h"
#include "mainwin/settings.h"
#include "mainwin/tamskform_base.h"
#include "project/projecttree.h"

// The main form: one tree view showing the loaded project, the "&File" menu
// with the load, export, parse-option, copy and exit commands, the "&View"
// menu with the tree's keys, and a status line that says what happened.
class TamskForm : public __TamskForm_Base {
public:
    // The settings are kept in settingsFile.
    explicit TamskForm(std::string settingsFile = kSettingsFile)
        : settingsFile_(std::move(settingsFile)) {}
    // Runs the whole destruction of the window (settings written) while the
    // handlers of this class still exist.
    ~TamskForm() override;

    bool OnFormCreate(WObject* source, void* eventData);
    bool OnFormDestroy(WObject* source, void* eventData);
    bool OnFormClose(WObject* source, void* eventData);
    bool OnTreeDeleteItem(WObject* source, void* eventData);

    bool OnLoadProject(WObject* source, void* eventData);
    bool OnExportDependencies(WObject* source, void* eventData);
    bool OnParseStringLiterals(WObject* source, void* eventData);
    bool OnCopyProjectFiles(WObject* source, void* eventData);
    bool OnExit(WObject* source, void* eventData);
    // A .wpj file dropped on the window loads as if chosen in the load dialog.
    bool OnDropFiles(WObject* source, void* eventData);

    // Opens the project file named on the command line (made absolute) as if
    // it had been chosen in the load dialog; anything else is named on the
    // status line and on standard error, and the form stays as it is.
    void OpenFromCommandLine(const std::vector<std::string>& arguments);

    // Find (Ctrl+F): asks for a text and goes to the first node, in the whole
    // tree, whose text contains it; F3 and Shift+F3 go to the next and the
    // previous one. The status line says which hit of how many is shown.
    bool OnFind(WObject* source, void* eventData);
    bool OnFindNext(WObject* source, void* eventData);
    bool OnFindPrevious(WObject* source, void* eventData);
    // '*' from the menu: the current node with everything below it.
    bool OnExpandAllBelow(WObject* source, void* eventData);

    // Builds the tree of the project file, with its dependency scan, under the
    // wait cursor. False (nothing added) when the project file cannot be read.
    bool LoadProject(const WFilePath& projectPath, ScanOutcome* outcome = nullptr);

    void LoadSettings();
    void SaveSettings();

    // "Watcom Project" followed by " [value]".
    void SetCaptionValue(const char* value);

private:
    // Empties the tree and forgets what referred to it.
    void ClearProject();
    // Loads the file that fileDialog holds as chosen, as the load command does.
    void LoadChosenProject();
    void OnFindAgain(WTreeSearch::Direction direction);
    void ShowFindHit(WTreeItem hit);
    // Loads a file named outside the load dialog (command line, drop).
    void LoadNamedProject(const std::string& path);

    WImageList imageList;
    std::string settingsFile_;
    std::unique_ptr<WTreeSearch> search_;  // of the tree shown; reset with it
};

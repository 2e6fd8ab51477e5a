#pragma once

#include <string_view>

#include "classlib/core/wstring.h"
#include "copy/dialog/wpjcopybase.h"

class WTreeView;

// The copy dialog: the user picks a destination folder with "&Browse...",
// then "Copy" copies the project's files there, one result row per file.
// Nothing is remembered between openings.
class WPJCopy : public __WPJCopy_Base {
public:
    WPJCopy() = default;
    ~WPJCopy() override;

    // The main form's project tree; not owned. Set before the dialog runs.
    void SetProjectTree(WTreeView* tree) { projectTree_ = tree; }

    // The folder chooser, opening on initialFolder; true and the chosen path
    // in folder, or false when the user cancelled.
    bool BrowseForFolder(std::string_view title, std::string_view initialFolder, WString& folder);

    // The whole run into the folder the text box holds now, summed up under
    // the list. Both buttons are disabled first and stay so: a dialog copies
    // at most once.
    void CopyProjectFiles();

protected:
    bool cb_1_Click(WObject* source, void* eventData) override;
    bool cb_2_Click(WObject* source, void* eventData) override;
    void SetupControls() override;

private:
    WTreeView* projectTree_ = nullptr;
};

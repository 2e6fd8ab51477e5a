#pragma once

#include "classlib/gui/wimagelist.h"
#include "mainwin/tamskform_base.h"
#include "project/projecttree.h"

// The main form: one tree view showing the loaded project, and the "&File"
// menu with the load, export, parse-option, copy and exit commands.
class TamskForm : public __TamskForm_Base {
public:
    TamskForm() = default;
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

    // Builds the tree of the project file, with its dependency scan, under the
    // wait cursor. False (nothing added) when the project file cannot be read.
    bool LoadProject(const WFilePath& projectPath, ScanOutcome* outcome = nullptr);

    void LoadSettings();
    void SaveSettings();

    // "Watcom Project" followed by " [value]".
    void SetCaptionValue(const char* value);

private:
    WImageList imageList;
};

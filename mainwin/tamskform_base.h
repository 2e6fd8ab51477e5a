#pragma once

#include "classlib/gui/wevents.h"
#include "classlib/gui/wfiledialog.h"
#include "classlib/gui/wform.h"
#include "classlib/gui/wmenu.h"
#include "classlib/gui/wtreeview.h"

// Generated layer of the main form: creates the controls, the menu and the
// file dialog from "ID_TamskForm" and "ID_TamskForm_menu_1", and wires the
// menu items to the handlers of TamskForm.
class __TamskForm_Base : public WModelessDialog {
public:
    __TamskForm_Base();
    // Destroys the window if it still exists, then drops the generated handlers.
    ~__TamskForm_Base() override;

    void SetTabOrder() override;

    // Null while the form has no window; the item pointers belong to menu_1.
    WMenu* menu_1 = nullptr;
    WMenu* fileMenu = nullptr;
    WMenuItem* loadItem = nullptr;
    WMenuItem* exportItem = nullptr;
    WMenuItem* parseItem = nullptr;
    WMenuItem* copyItem = nullptr;
    WMenuItem* exitItem = nullptr;
    WMenu* viewMenu = nullptr;
    WMenuItem* findItem = nullptr;
    WMenuItem* findNextItem = nullptr;
    WMenuItem* findPreviousItem = nullptr;
    WMenuItem* expandBelowItem = nullptr;
    WTreeView* tv_1 = nullptr;
    WFileDialog* fileDialog = nullptr;

    // Menu ids of "ID_TamskForm_menu_1".
    enum MenuId : int {
        LoadId = 1001,
        ExportId = 1002,
        ParseId = 1004,
        CopyId = 1005,
        ExitId = 1007,
        FindId = 1101,
        FindNextId = 1102,
        FindPreviousId = 1103,
        ExpandBelowId = 1104,
    };
    static constexpr int kTreeItemId = 102;

protected:
    bool GeneratedCreate(WObject* source, void* eventData);
    bool GeneratedClose(WObject* source, void* eventData);
    bool GeneratedDestroy(WObject* source, void* eventData);

private:
    void LoadMenuItems();

    WEventMap generatedHandlers_[4];
};

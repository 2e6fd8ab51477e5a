#include "mainwin/tamskform_base.h"

#include "classlib/gui/wapplication.h"
#include "mainwin/mainform.h"
#include "mainwin/tamskform.h"

namespace {

// The generated layer knows the form it serves: the hand-written handlers
// live in TamskForm.
TamskForm* Derived(__TamskForm_Base* base) {
    return static_cast<TamskForm*>(base);
}

}  // namespace

__TamskForm_Base::__TamskForm_Base()
    : generatedHandlers_{
          {CreateEvent, WHandler(&__TamskForm_Base::GeneratedCreate), this},
          {CloseEvent, WHandler(&__TamskForm_Base::GeneratedClose), this},
          {DestroyEvent, WHandler(&__TamskForm_Base::GeneratedDestroy), this},
          {NullEvent, nullptr, nullptr},
      } {
    WRegisterEvents(this, generatedHandlers_);
}

__TamskForm_Base::~__TamskForm_Base() {
    if (HasWindow()) {
        DestroyWindow();
    }
    WUnregisterEvents(this, generatedHandlers_);
}

void __TamskForm_Base::SetTabOrder() {
    OrderChildWindows({tv_1});
}

void __TamskForm_Base::LoadMenuItems() {
    fileMenu = menu_1->GetPopup(0);
    viewMenu = menu_1->GetPopup(1);
    struct Binding {
        int id;
        WMenuItem** field;
        bool (TamskForm::*handler)(WObject*, void*);
    };
    const Binding bindings[] = {
        {LoadId, &loadItem, &TamskForm::OnLoadProject},
        {ExportId, &exportItem, &TamskForm::OnExportDependencies},
        {ParseId, &parseItem, &TamskForm::OnParseStringLiterals},
        {CopyId, &copyItem, &TamskForm::OnCopyProjectFiles},
        {ExitId, &exitItem, &TamskForm::OnExit},
        {FindId, &findItem, &TamskForm::OnFind},
        {FindNextId, &findNextItem, &TamskForm::OnFindNext},
        {FindPreviousId, &findPreviousItem, &TamskForm::OnFindPrevious},
        {ExpandBelowId, &expandBelowItem, &TamskForm::OnExpandAllBelow},
    };
    for (const Binding& binding : bindings) {
        *binding.field = menu_1->FindItem(binding.id);
        if (*binding.field != nullptr) {
            WRegisterEvent(*binding.field, ClickEvent, Derived(this), WHandler(binding.handler));
        }
    }
}

bool __TamskForm_Base::GeneratedCreate(WObject* source, void* eventData) {
    CenterWindow();
    tv_1 = new WTreeView();
    fileDialog = new WFileDialog();
    SetFont(std::string_view("8.MS Sans Serif"));
    SetName("TamskForm");
    menu_1 = new WMenu();
    if (menu_1->LoadMenu("ID_TamskForm_menu_1")) {
        LoadMenuItems();
    }
    SetMenu(menu_1);
    tv_1->Attach(this, kTreeItemId);
    tv_1->SetResizePercentages(0, 0, 100, 100);
    tv_1->SetName("tv_1");
    fileDialog->SetOwner(this);
    fileDialog->SetFlags(WFileDialog::kExplorer | WFileDialog::kEnableHook |
                         WFileDialog::kNoChangeDir | WFileDialog::kHideReadOnly);
    fileDialog->SetInitialPath(".");
    WRegisterEvent(this, CloseEvent, Derived(this), WHandler(&TamskForm::OnFormClose));
    WRegisterEvent(tv_1, DeleteItemEvent, Derived(this), WHandler(&TamskForm::OnTreeDeleteItem));
    SetTabOrder();
    const bool result = Derived(this)->OnFormCreate(source, eventData);
    Show();
    return result;
}

bool __TamskForm_Base::GeneratedClose(WObject* /*source*/, void* /*eventData*/) {
    if (DestroyWindow() && Derived(this) == mainForm) {
        WMessageLoop::PostQuitMessage(0);
    }
    return true;
}

bool __TamskForm_Base::GeneratedDestroy(WObject* source, void* eventData) {
    const bool result = Derived(this)->OnFormDestroy(source, eventData);
    WUnregisterEvent(this, CloseEvent, Derived(this), WHandler(&TamskForm::OnFormClose));
    WUnregisterEvent(tv_1, DeleteItemEvent, Derived(this), WHandler(&TamskForm::OnTreeDeleteItem));
    SetMenu(nullptr);
    delete menu_1;
    delete tv_1;
    delete fileDialog;
    fileMenu = nullptr;
    viewMenu = nullptr;
    tv_1 = nullptr;
    fileDialog = nullptr;
    menu_1 = nullptr;
    return result;
}

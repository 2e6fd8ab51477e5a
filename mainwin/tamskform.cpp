#include "mainwin/tamskform.h"

#include "classlib/gui/wevents.h"
#include "classlib/gui/wicon.h"
#include "mainwin/mainform.h"
#include "mainwin/statusmessages.h"
#include "resources/resourceimages.h"

TamskForm* mainForm = nullptr;

TamskForm* CreateMainForm(const char* settingsFile) {
    auto* form = new TamskForm(settingsFile);
    mainForm = form;
    if (form->Create(nullptr, "ID_TamskForm")) {
        return form;
    }
    delete form;
    mainForm = nullptr;
    return nullptr;
}

void DestroyMainForm() {
    if (mainForm != nullptr) {
        delete mainForm;
        mainForm = nullptr;
    }
}

TamskForm::~TamskForm() {
    if (HasWindow()) {
        DestroyWindow();
    }
}

void TamskForm::SetCaptionValue(const char* value) {
    WString caption("Watcom Project");
    caption.ConcatFormat(" [%s]", value);
    SetText(caption.View());
}

bool TamskForm::OnFormCreate(WObject* /*source*/, void* /*eventData*/) {
    SetSmallIcon(WIcon(kApplicationIconId));
    imageList.Load(kTreeImagesBitmapId, 16, 16, WColor{255, 0, 255});
    tv_1->SetImageList(imageList);
    const WSize outer = GetOuterSize();
    SetMinimumTrackingSize(outer.width(), outer.height());
    const WSize client = GetClientSize();
    tv_1->Move(0, 0, client.width(), client.height(), true);
    tv_1->SetWorkLimit(kDefaultNodeLimit);
    tv_1->SetExpandHandler([this](WTreeView::ExpandEnd end) {
        if (end == WTreeView::ExpandEnd::AtWorkLimit) {
            SetStatusText(ExpandStoppedText());
        }
    });
    SetCaptionValue("none");
    fileDialog->SetFlags(fileDialog->GetFlags() | WFileDialog::kEnableSizing);
    LoadSettings();
    AcceptDroppedFiles();
    WRegisterEvent(this, DropFilesEvent, this, WHandler(&TamskForm::OnDropFiles));
    AddHotKey("Ctrl+F", [this]() { OnFind(this, nullptr); });
    AddHotKey("F3", [this]() { OnFindNext(this, nullptr); });
    AddHotKey("Shift+F3", [this]() { OnFindPrevious(this, nullptr); });
    SetStatusText(FirstStartHint());
    if (exportItem != nullptr) {
        exportItem->DisableAndGray();
    }
    if (copyItem != nullptr) {
        copyItem->DisableAndGray();
    }
    return false;
}

bool TamskForm::OnFormDestroy(WObject* /*source*/, void* /*eventData*/) {
    WUnregisterEvent(this, DropFilesEvent, this, WHandler(&TamskForm::OnDropFiles));
    search_.reset();
    tv_1->SetExpandHandler(nullptr);
    tv_1->DeleteAllItems();
    SaveSettings();
    return false;
}

bool TamskForm::OnFormClose(WObject* /*source*/, void* /*eventData*/) {
    return false;
}

bool TamskForm::OnTreeDeleteItem(WObject* /*source*/, void* eventData) {
    auto* deleted = static_cast<WTreeDeleteItemData*>(eventData);
    if (deleted != nullptr && deleted->GetData() != nullptr) {
        deleted->DestroyData();
    }
    return false;
}

#include "copy/dialog/wpjcopybase.h"

#include "classlib/gui/wevents.h"

namespace {

constexpr int kTextBoxId = 101;
constexpr int kLabelId = 102;
constexpr int kBrowseId = 103;
constexpr int kListId = 104;
constexpr int kCopyId = 105;

}  // namespace

__WPJCopy_Base::__WPJCopy_Base() {
    WRegisterEvent(this, CreateEvent, this, WHandler(&__WPJCopy_Base::__WPJCopy_BaseCreate));
    WRegisterEvent(this, CloseEvent, this, WHandler(&__WPJCopy_Base::__WPJCopy_BaseClose));
    WRegisterEvent(this, DestroyEvent, this, WHandler(&__WPJCopy_Base::__WPJCopy_BaseDestroy));
}

__WPJCopy_Base::~__WPJCopy_Base() {
    WUnregisterEvent(this, CreateEvent, this, WHandler(&__WPJCopy_Base::__WPJCopy_BaseCreate));
    WUnregisterEvent(this, CloseEvent, this, WHandler(&__WPJCopy_Base::__WPJCopy_BaseClose));
    WUnregisterEvent(this, DestroyEvent, this, WHandler(&__WPJCopy_Base::__WPJCopy_BaseDestroy));
    UnregisterClicks();
}

bool __WPJCopy_Base::cb_1_Click(WObject* /*source*/, void* /*eventData*/) {
    return false;
}

bool __WPJCopy_Base::cb_2_Click(WObject* /*source*/, void* /*eventData*/) {
    return false;
}

bool __WPJCopy_Base::__WPJCopy_BaseCreate(WObject* /*source*/, void* /*eventData*/) {
    textb_1 = std::make_unique<WTextBox>();
    label_1 = std::make_unique<WLabel>();
    cb_1 = std::make_unique<WCommandButton>();
    lv_1 = std::make_unique<WListView>();
    cb_2 = std::make_unique<WCommandButton>();
    SetFont("8.MS Sans Serif");
    SetName("WPJCopy");

    textb_1->Attach(this, kTextBoxId);
    label_1->Attach(this, kLabelId);
    cb_1->Attach(this, kBrowseId);
    lv_1->Attach(this, kListId);
    cb_2->Attach(this, kCopyId);

    textb_1->SetResizePercentages(0, 0, 100, 0);
    textb_1->SetName("textb_1");
    label_1->SetName("label_1");
    cb_1->SetResizePercentages(100, 0, 0, 0);
    cb_1->SetName("cb_1");
    cb_1->SetDefault(false);
    lv_1->SetResizePercentages(0, 0, 100, 100);
    lv_1->SetName("lv_1");
    cb_2->SetResizePercentages(50, 100, 0, 0);
    cb_2->SetName("cb_2");
    cb_2->SetDefault(false);

    RegisterClicks();
    SetTabOrder();
    SetupControls();
    Show();
    return false;
}

// The generated close ends the modal run; the run then destroys the window.
bool __WPJCopy_Base::__WPJCopy_BaseClose(WObject* /*source*/, void* /*eventData*/) {
    EndDialog(0);
    return true;
}

bool __WPJCopy_Base::__WPJCopy_BaseDestroy(WObject* /*source*/, void* /*eventData*/) {
    UnregisterClicks();
    textb_1.reset();
    label_1.reset();
    cb_1.reset();
    lv_1.reset();
    cb_2.reset();
    return false;
}

void __WPJCopy_Base::SetTabOrder() {
    OrderChildWindows({textb_1.get(), label_1.get(), cb_1.get(), lv_1.get(), cb_2.get()});
}

void __WPJCopy_Base::RegisterClicks() {
    WRegisterEvent(cb_1.get(), ClickEvent, this, WHandler(&__WPJCopy_Base::cb_1_Click));
    WRegisterEvent(cb_2.get(), ClickEvent, this, WHandler(&__WPJCopy_Base::cb_2_Click));
}

void __WPJCopy_Base::UnregisterClicks() {
    if (cb_1) {
        WUnregisterEvent(cb_1.get(), ClickEvent, this, WHandler(&__WPJCopy_Base::cb_1_Click));
    }
    if (cb_2) {
        WUnregisterEvent(cb_2.get(), ClickEvent, this, WHandler(&__WPJCopy_Base::cb_2_Click));
    }
}

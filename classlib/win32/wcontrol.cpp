#include "classlib/gui/wcontrol.h"

#include "classlib/gui/wform.h"
#include "classlib/win32/wwin32native.h"

namespace {

bool IsOfClass(WWindowHandle item, const wchar_t* className) {
    HWND hwnd = Win32Window(item);
    return hwnd != nullptr && lstrcmpiW(WindowClass(hwnd).c_str(), className) == 0;
}

}  // namespace

bool WControl::Attach(WForm* form, int itemId) {
    const WWindowHandle item = form ? form->GetDialogItem(itemId) : WWindowHandle();
    if (!item || !Accepts(item)) {
        return false;
    }
    form_ = form;
    itemId_ = itemId;
    GetNative().hwnd = Win32Window(item);
    SetObjectOfWindow(Win32Window(item), this);
    Attached();
    return true;
}

void WControl::SetResizePercentages(int x, int y, int width, int height) {
    if (form_ != nullptr) {
        form_->SetResizePercentages(GetHandle(), x, y, width, height);
    }
}

bool WTextBox::Accepts(WWindowHandle item) const {
    return IsOfClass(item, L"Edit");
}

WString WTextBox::GetText() const {
    return WWindow::GetText();
}

void WTextBox::SetText(std::string_view text) {
    WWindow::SetText(text);
}

bool WLabel::Accepts(WWindowHandle item) const {
    return IsOfClass(item, L"Static");
}

// The dialog manager itself moves the focus from a static text's mnemonic to
// the next control.
void WLabel::Attached() {}

// The dialog manager already moves the focus from a static text's mnemonic to
// the next control of the tab order, which is where the callers' buddies are.
void WLabel::SetBuddy(WWindow* /*control*/) {}

WString WLabel::GetText() const {
    return WWindow::GetText();
}

void WLabel::SetText(std::string_view text) {
    WWindow::SetText(text);
}

bool WCommandButton::Accepts(WWindowHandle item) const {
    return IsOfClass(item, L"Button");
}

// The form passes each click on to the button's ClickEvent.
void WCommandButton::Attached() {}

WString WCommandButton::GetText() const {
    return WWindow::GetText();
}

void WCommandButton::SetText(std::string_view text) {
    WWindow::SetText(text);
}

void WCommandButton::SetDefault(bool isDefault) {
    if (HasWindow()) {
        SendMessageW(Win32Window(*this), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                     TRUE);
    }
}

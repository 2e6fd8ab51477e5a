#include "classlib/gui/wcontrol.h"

#include <string>

#include "classlib/gui/wform.h"
#include "classlib/win32/wwin32native.h"

namespace {

bool IsOfClass(WWindowHandle item, const wchar_t* className) {
    HWND hwnd = Win32Window(item);
    return hwnd != nullptr && lstrcmpiW(WindowClass(hwnd).c_str(), className) == 0;
}

// The letter after a single '&' ("&&" is an ampersand), or 0.
char MnemonicOf(std::string_view text) {
    for (std::size_t at = 0; at + 1 < text.size(); ++at) {
        if (text[at] == '&') {
            if (text[at + 1] != '&') {
                return text[at + 1];
            }
            ++at;
        }
    }
    return 0;
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

// The dialog manager would move the focus to the control after the label in
// the tab order, whatever that is; the buddy takes the label's Alt+letter
// as a key of the form instead, ahead of the dialog manager.
void WLabel::SetBuddy(WWindow* control) {
    const char mnemonic = MnemonicOf(GetText().View());
    WForm* form = GetForm();
    if (form == nullptr || control == nullptr || mnemonic == 0) {
        return;
    }
    form->AddHotKey(std::string("Alt+") + mnemonic, [form, control] {
        if (form->HasWindow() && control->HasWindow()) {
            // As the dialog manager moves the focus: an edit box's text is selected.
            SendMessageW(Win32Window(*form), WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(Win32Window(*control)), TRUE);
        }
    });
}

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

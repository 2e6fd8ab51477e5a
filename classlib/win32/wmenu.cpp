#include "classlib/gui/wmenu.h"

#include "classlib/gui/wevents.h"
#include "classlib/gui/wresources.h"
#include "classlib/win32/wwin32native.h"

WMenuItem::WMenuItem(int id) : id_(id), native_(std::make_unique<Native>()) {}

WMenuItem::~WMenuItem() {
    // A later object at this address must not inherit this item's handlers.
    WUnregisterAllEvents(this);
}

namespace {

UINT StateOf(const WMenuItem::Native& item, UINT id) {
    const UINT state = item.menu ? GetMenuState(item.menu, id, MF_BYCOMMAND) : 0xFFFFFFFFu;
    return state == 0xFFFFFFFFu ? (MF_GRAYED | MF_DISABLED) : state;
}

}  // namespace

WString WMenuItem::GetText() const {
    if (native_->menu == nullptr) {
        return WString();
    }
    wchar_t text[256] = {};
    GetMenuStringW(native_->menu, static_cast<UINT>(id_), text, 256, MF_BYCOMMAND);
    return WString(Narrow(text));
}

void WMenuItem::Enable(bool enable) {
    if (native_->menu != nullptr) {
        EnableMenuItem(native_->menu, static_cast<UINT>(id_),
                       MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
    }
}

bool WMenuItem::IsEnabled() const {
    return (StateOf(*native_, static_cast<UINT>(id_)) & (MF_GRAYED | MF_DISABLED)) == 0;
}

void WMenuItem::SetCheck(bool checked) {
    if (native_->menu != nullptr) {
        CheckMenuItem(native_->menu, static_cast<UINT>(id_),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool WMenuItem::GetCheck() const {
    return native_->menu != nullptr &&
           (GetMenuState(native_->menu, static_cast<UINT>(id_), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

WMenu::WMenu() : native_(std::make_unique<Native>()) {}

WMenu::~WMenu() {
    Clear();
}

void WMenu::Clear() {
    entries_.clear();
    if (native_->owned && native_->menu != nullptr) {
        DestroyMenu(native_->menu);  // its popups go with it
    }
    native_->menu = nullptr;
    native_->owned = false;
}

bool WMenu::LoadMenu(std::string_view resourceName) {
    Clear();
    const MenuTemplate* menu = FindMenuTemplate(resourceName);
    if (menu == nullptr) {
        return false;
    }
    native_->menu = CreateMenu();
    native_->owned = true;
    AddEntries(menu->items, WWindowHandle{native_->menu});
    return true;
}

void WMenu::AddEntries(const std::vector<MenuItemTemplate>& items, WWindowHandle owner) {
    auto* menu = static_cast<HMENU>(owner.native);
    for (const MenuItemTemplate& item : items) {
        Entry entry;
        const std::wstring text = Widen(item.text);
        if (item.flags & MenuPopup) {
            entry.popup = std::make_unique<WMenu>();
            HMENU popup = CreatePopupMenu();
            entry.popup->native_->menu = popup;
            entry.popup->AddEntries(item.children, WWindowHandle{popup});
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        text.c_str());
        } else if (item.flags & MenuSeparator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            UINT flags = MF_STRING;
            flags |= (item.flags & MenuGrayed) ? MF_GRAYED : 0;
            flags |= (item.flags & MenuChecked) ? MF_CHECKED : 0;
            AppendMenuW(menu, flags, static_cast<UINT_PTR>(item.id), text.c_str());
            entry.item = std::make_unique<WMenuItem>(item.id);
            entry.item->GetNative().menu = menu;
        }
        entries_.push_back(std::move(entry));
    }
}

bool WMenu::Popup(int x, int y) {
    if (native_->menu == nullptr || native_->owned) {
        return false;
    }
    // The chosen command arrives as WM_COMMAND to the active form.
    return TrackPopupMenu(native_->menu, TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, GetActiveWindow(),
                          nullptr) != FALSE;
}

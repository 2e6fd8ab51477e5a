#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "classlib/core/wobject.h"
#include "classlib/core/wstring.h"

#include "classlib/gui/wtypes.h"

class WWindow;
struct MenuItemTemplate;

// One command of a menu. Choosing it fires ClickEvent with the item as source.
class WMenuItem : public WObject {
public:
    // The backend makes items while it builds a menu from its template.
    explicit WMenuItem(int id);
    ~WMenuItem() override;
    WMenuItem(const WMenuItem&) = delete;
    WMenuItem& operator=(const WMenuItem&) = delete;

    int GetID() const { return id_; }
    WString GetText() const;
    // Enabled items are drawn normally; disabled ones are grayed as well.
    void Enable(bool enable = true);
    void DisableAndGray() { Enable(false); }
    bool IsEnabled() const;
    bool IsGrayed() const { return !IsEnabled(); }
    void SetCheck(bool checked);
    bool GetCheck() const;
    // The backend's record of the item; defined in the backend's headers.
    struct Native;
    Native& GetNative() const { return *native_; }

private:
    int id_;
    std::unique_ptr<Native> native_;
};

// A menu bar or a popup menu with its items and submenus, loaded from a menu
// template of the program's module.
class WMenu : public WObject {
public:
    WMenu();
    ~WMenu() override;
    WMenu(const WMenu&) = delete;
    WMenu& operator=(const WMenu&) = delete;

    // Loads a menu bar; false (leaving the menu empty) when there is no such menu.
    bool LoadMenu(std::string_view resourceName);

    // The popup at a position of this menu (counting every entry), or null.
    WMenu* GetPopup(int position) const;
    // The item with that id, searching submenus depth first, or null.
    WMenuItem* FindItem(int id) const;
    int GetCount() const;
    // Shows this popup at a screen position; returns at once.
    bool Popup(int x, int y);

    // The backend's record of the menu; defined in the backend's headers.
    struct Native;
    Native& GetNative() const { return *native_; }

private:
    struct Entry {
        std::unique_ptr<WMenu> popup;     // for a submenu
        std::unique_ptr<WMenuItem> item;  // for a command
    };

    void AddEntries(const std::vector<MenuItemTemplate>& items, WWindowHandle owner);
    void Clear();

    std::unique_ptr<Native> native_;
    std::vector<Entry> entries_;
};

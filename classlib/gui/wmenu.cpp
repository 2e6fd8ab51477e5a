#include "classlib/gui/wmenu.h"

// The parts of a menu that are the same on every backend.

WMenu* WMenu::GetPopup(int position) const {
    if (position < 0 || position >= static_cast<int>(entries_.size())) {
        return nullptr;
    }
    return entries_[position].popup.get();
}

WMenuItem* WMenu::FindItem(int id) const {
    for (const Entry& entry : entries_) {
        if (entry.item && entry.item->GetID() == id) {
            return entry.item.get();
        }
        if (entry.popup) {
            if (WMenuItem* found = entry.popup->FindItem(id)) {
                return found;
            }
        }
    }
    return nullptr;
}

int WMenu::GetCount() const {
    return static_cast<int>(entries_.size());
}

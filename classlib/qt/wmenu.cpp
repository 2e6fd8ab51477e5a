#include "classlib/gui/wmenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include "classlib/gui/wevents.h"
#include "classlib/qt/wqtstring.h"
#include "classlib/gui/wtemplates.h"

WMenuItem::WMenuItem(int id, QAction* action) : id_(id), action_(action) {
    QObject::connect(action, &QAction::triggered, action, [this](bool checked) {
        // The platform's menus leave the check mark to the command; undo the
        // toggle that a checkable action makes by itself.
        if (action_ && action_->isCheckable()) {
            const QSignalBlocker blocker(action_.data());
            action_->setChecked(!checked);
        }
        WDispatchEvent(this, ClickEvent, nullptr);
    });
}

WMenuItem::~WMenuItem() {
    // A later object at this address must not inherit this item's handlers.
    WUnregisterAllEvents(this);
    if (action_) {
        QObject::disconnect(action_, &QAction::triggered, nullptr, nullptr);
    }
}

WString WMenuItem::GetText() const {
    return action_ ? WString(FromQString(action_->text())) : WString();
}

void WMenuItem::Enable(bool enable) {
    if (action_) {
        action_->setEnabled(enable);
    }
}

bool WMenuItem::IsEnabled() const {
    return action_ && action_->isEnabled();
}

void WMenuItem::SetCheck(bool checked) {
    if (action_) {
        action_->setCheckable(true);
        action_->setChecked(checked);
    }
}

bool WMenuItem::GetCheck() const {
    return action_ && action_->isChecked();
}

WMenu::WMenu() = default;

WMenu::~WMenu() {
    Clear();
}

void WMenu::Clear() {
    entries_.clear();
    delete menuBar_.data();
    delete menu_.data();
}

bool WMenu::LoadMenu(std::string_view resourceName) {
    Clear();
    const MenuTemplate* menu = FindMenuTemplate(resourceName);
    if (menu == nullptr) {
        return false;
    }
    menuBar_ = new QMenuBar();
    menuBar_->setNativeMenuBar(false);
    AddEntries(menu->items, menuBar_);
    return true;
}

void WMenu::AddEntries(const std::vector<MenuItemTemplate>& items, QWidget* owner) {
    auto* bar = qobject_cast<QMenuBar*>(owner);
    auto* popupOwner = qobject_cast<QMenu*>(owner);
    for (const MenuItemTemplate& item : items) {
        Entry entry;
        if (item.flags & MenuPopup) {
            entry.popup = std::make_unique<WMenu>();
            auto* popup = new QMenu(ToQString(item.text), owner);
            entry.popup->menu_ = popup;
            entry.popup->AddEntries(item.children, popup);
            if (bar != nullptr) {
                bar->addMenu(popup);
            } else if (popupOwner != nullptr) {
                popupOwner->addMenu(popup);
            }
        } else if (item.flags & MenuSeparator) {
            if (bar != nullptr) {
                bar->addSeparator();
            } else if (popupOwner != nullptr) {
                popupOwner->addSeparator();
            }
        } else {
            auto* action = new QAction(ToQString(item.text), owner);
            action->setProperty("menuItemId", item.id);
            action->setEnabled((item.flags & MenuGrayed) == 0);
            if (item.flags & MenuChecked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            owner->addAction(action);
            entry.item = std::make_unique<WMenuItem>(item.id, action);
        }
        entries_.push_back(std::move(entry));
    }
}

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

bool WMenu::Popup(int x, int y) {
    if (!menu_) {
        return false;
    }
    menu_->popup(QPoint(x, y));
    return true;
}

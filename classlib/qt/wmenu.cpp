#include "classlib/gui/wmenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>

#include "classlib/gui/wevents.h"
#include "classlib/gui/wresources.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

namespace {

// Makes the item's action and connects its trigger to the item's ClickEvent.
void BindAction(WMenuItem& item, QAction* action) {
    item.GetNative().action = action;
    QPointer<QAction>& action_ = item.GetNative().action;
    WMenuItem* self = &item;
    QObject::connect(action, &QAction::triggered, action, [self, &action_](bool checked) {
        // The platform's menus leave the check mark to the command; undo the
        // toggle that a checkable action makes by itself.
        if (action_ && action_->isCheckable()) {
            const QSignalBlocker blocker(action_.data());
            action_->setChecked(!checked);
        }
        WDispatchEvent(self, ClickEvent, nullptr);
    });
}

}  // namespace

WMenuItem::WMenuItem(int id) : id_(id), native_(std::make_unique<Native>()) {}

WMenuItem::~WMenuItem() {
    // A later object at this address must not inherit this item's handlers.
    WUnregisterAllEvents(this);
    QPointer<QAction>& action_ = native_->action;
    if (action_) {
        QObject::disconnect(action_, &QAction::triggered, nullptr, nullptr);
    }
}

WString WMenuItem::GetText() const {
    const QPointer<QAction>& action_ = native_->action;
    return action_ ? WString(FromQString(action_->text())) : WString();
}

void WMenuItem::Enable(bool enable) {
    const QPointer<QAction>& action_ = native_->action;
    if (action_) {
        action_->setEnabled(enable);
    }
}

bool WMenuItem::IsEnabled() const {
    const QPointer<QAction>& action_ = native_->action;
    return action_ && action_->isEnabled();
}

void WMenuItem::SetCheck(bool checked) {
    const QPointer<QAction>& action_ = native_->action;
    if (action_) {
        action_->setCheckable(true);
        action_->setChecked(checked);
    }
}

bool WMenuItem::GetCheck() const {
    const QPointer<QAction>& action_ = native_->action;
    return action_ && action_->isChecked();
}

WMenu::WMenu() : native_(std::make_unique<Native>()) {}

WMenu::~WMenu() {
    Clear();
}

void WMenu::Clear() {
    entries_.clear();
    delete native_->menuBar.data();
    delete native_->menu.data();
}

bool WMenu::LoadMenu(std::string_view resourceName) {
    Clear();
    const MenuTemplate* menu = FindMenuTemplate(resourceName);
    if (menu == nullptr) {
        return false;
    }
    auto* menuBar = new QMenuBar();
    native_->menuBar = menuBar;
    menuBar->setNativeMenuBar(false);
    AddEntries(menu->items, HandleOf(menuBar));
    return true;
}

void WMenu::AddEntries(const std::vector<MenuItemTemplate>& items, WWindowHandle ownerWindow) {
    QWidget* owner = QtWidget(ownerWindow);
    auto* bar = qobject_cast<QMenuBar*>(owner);
    auto* popupOwner = qobject_cast<QMenu*>(owner);
    for (const MenuItemTemplate& item : items) {
        Entry entry;
        if (item.flags & MenuPopup) {
            entry.popup = std::make_unique<WMenu>();
            auto* popup = new QMenu(ToQString(item.text), owner);
            entry.popup->native_->menu = popup;
            entry.popup->AddEntries(item.children, HandleOf(popup));
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
            entry.item = std::make_unique<WMenuItem>(item.id);
            BindAction(*entry.item, action);
        }
        entries_.push_back(std::move(entry));
    }
}

bool WMenu::Popup(int x, int y) {
    if (!native_->menu) {
        return false;
    }
    native_->menu->popup(QPoint(x, y));
    return true;
}

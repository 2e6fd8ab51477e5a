#pragma once

#include <QPointer>
#include <QWidget>

// Held while a modal dialog of owner runs: when the dialog has closed, the
// owner's window takes the keyboard back, as on the platform, also where no
// window manager would give it back.
class OwnerTakesFocusBack {
public:
    explicit OwnerTakesFocusBack(QWidget* owner) : owner_(owner ? owner->window() : nullptr) {}
    ~OwnerTakesFocusBack() {
        if (owner_ != nullptr && owner_->isVisible()) {
            owner_->activateWindow();
        }
    }
    OwnerTakesFocusBack(const OwnerTakesFocusBack&) = delete;
    OwnerTakesFocusBack& operator=(const OwnerTakesFocusBack&) = delete;

private:
    QPointer<QWidget> owner_;
};

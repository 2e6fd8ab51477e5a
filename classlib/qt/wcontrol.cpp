#include "classlib/gui/wcontrol.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "classlib/gui/wevents.h"
#include "classlib/gui/wform.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

bool WControl::Attach(WForm* form, int itemId) {
    QWidget* widget = form ? QtWidget(form->GetDialogItem(itemId)) : nullptr;
    if (widget == nullptr || !Accepts(HandleOf(widget))) {
        return false;
    }
    form_ = form;
    itemId_ = itemId;
    GetNative().widget = widget;
    if (!GetName().IsEmpty()) {
        widget->setObjectName(ToQString(GetName().View()));
    }
    Attached();
    return true;
}

void WControl::SetResizePercentages(int x, int y, int width, int height) {
    if (form_ != nullptr) {
        form_->SetResizePercentages(GetHandle(), x, y, width, height);
    }
}

namespace {

QLineEdit* LineEditOf(const WWindow& box) {
    return dynamic_cast<QLineEdit*>(QtWidget(box));
}

QPushButton* ButtonOf(const WWindow& button) {
    return dynamic_cast<QPushButton*>(QtWidget(button));
}

}  // namespace

bool WTextBox::Accepts(WWindowHandle item) const {
    return dynamic_cast<QLineEdit*>(QtWidget(item)) != nullptr;
}

WString WTextBox::GetText() const {
    QLineEdit* edit = LineEditOf(*this);
    return edit ? WString(FromQString(edit->text())) : WString();
}

void WTextBox::SetText(std::string_view text) {
    if (QLineEdit* edit = LineEditOf(*this)) {
        edit->setText(ToQString(text));
    }
}

bool WLabel::Accepts(WWindowHandle item) const {
    return dynamic_cast<QLabel*>(QtWidget(item)) != nullptr;
}

void WLabel::Attached() {
    // The mnemonic of a static text focuses the control after it in creation order.
    auto* label = static_cast<QLabel*>(QtWidget(*this));
    QWidget* parent = label->parentWidget();
    const QObjectList& siblings = parent->children();
    const qsizetype at = siblings.indexOf(label);
    for (qsizetype i = at + 1; i < siblings.size(); ++i) {
        if (auto* next = qobject_cast<QWidget*>(siblings[i])) {
            label->setBuddy(next);
            break;
        }
    }
}

void WLabel::SetBuddy(WWindow* control) {
    if (auto* label = dynamic_cast<QLabel*>(QtWidget(*this)); label && control) {
        label->setBuddy(QtWidget(*control));
    }
}

WString WLabel::GetText() const {
    auto* label = dynamic_cast<QLabel*>(QtWidget(*this));
    return label ? WString(FromQString(label->text())) : WString();
}

void WLabel::SetText(std::string_view text) {
    if (auto* label = dynamic_cast<QLabel*>(QtWidget(*this))) {
        label->setText(ToQString(text));
    }
}

bool WCommandButton::Accepts(WWindowHandle item) const {
    return dynamic_cast<QPushButton*>(QtWidget(item)) != nullptr;
}

void WCommandButton::Attached() {
    QObject::connect(ButtonOf(*this), &QPushButton::clicked, ButtonOf(*this),
                     [this]() { WDispatchEvent(this, ClickEvent, nullptr); });
}

WString WCommandButton::GetText() const {
    QPushButton* button = ButtonOf(*this);
    return button ? WString(FromQString(button->text())) : WString();
}

void WCommandButton::SetText(std::string_view text) {
    if (QPushButton* button = ButtonOf(*this)) {
        button->setText(ToQString(text));
    }
}

void WCommandButton::SetDefault(bool isDefault) {
    if (QPushButton* button = ButtonOf(*this)) {
        button->setDefault(isDefault);
        button->setAutoDefault(isDefault);
    }
}

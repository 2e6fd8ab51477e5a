#include "classlib/qt/wcontrol.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "classlib/qt/wevents.h"
#include "classlib/qt/wform.h"
#include "classlib/qt/wqtstring.h"

bool WControl::Attach(WForm* form, int itemId) {
    QWidget* widget = form ? form->GetDialogItem(itemId) : nullptr;
    if (widget == nullptr || !Accepts(widget)) {
        return false;
    }
    form_ = form;
    itemId_ = itemId;
    SetWidget(widget);
    if (!GetName().IsEmpty()) {
        widget->setObjectName(ToQString(GetName().View()));
    }
    Attached();
    return true;
}

void WControl::SetResizePercentages(int x, int y, int width, int height) {
    if (form_ != nullptr) {
        form_->SetResizePercentages(GetWidget(), x, y, width, height);
    }
}

QLineEdit* WTextBox::GetLineEdit() const {
    return dynamic_cast<QLineEdit*>(GetWidget());
}

bool WTextBox::Accepts(QWidget* widget) const {
    return dynamic_cast<QLineEdit*>(widget) != nullptr;
}

WString WTextBox::GetText() const {
    QLineEdit* edit = GetLineEdit();
    return edit ? WString(FromQString(edit->text())) : WString();
}

void WTextBox::SetText(std::string_view text) {
    if (QLineEdit* edit = GetLineEdit()) {
        edit->setText(ToQString(text));
    }
}

bool WLabel::Accepts(QWidget* widget) const {
    return dynamic_cast<QLabel*>(widget) != nullptr;
}

void WLabel::Attached() {
    // The mnemonic of a static text focuses the control after it in creation order.
    auto* label = static_cast<QLabel*>(GetWidget());
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
    if (auto* label = dynamic_cast<QLabel*>(GetWidget()); label && control) {
        label->setBuddy(control->GetWidget());
    }
}

WString WLabel::GetText() const {
    auto* label = dynamic_cast<QLabel*>(GetWidget());
    return label ? WString(FromQString(label->text())) : WString();
}

void WLabel::SetText(std::string_view text) {
    if (auto* label = dynamic_cast<QLabel*>(GetWidget())) {
        label->setText(ToQString(text));
    }
}

QPushButton* WCommandButton::GetButton() const {
    return dynamic_cast<QPushButton*>(GetWidget());
}

bool WCommandButton::Accepts(QWidget* widget) const {
    return dynamic_cast<QPushButton*>(widget) != nullptr;
}

void WCommandButton::Attached() {
    QObject::connect(GetButton(), &QPushButton::clicked, GetButton(),
                     [this]() { WDispatchEvent(this, ClickEvent, nullptr); });
}

WString WCommandButton::GetText() const {
    QPushButton* button = GetButton();
    return button ? WString(FromQString(button->text())) : WString();
}

void WCommandButton::SetText(std::string_view text) {
    if (QPushButton* button = GetButton()) {
        button->setText(ToQString(text));
    }
}

void WCommandButton::SetDefault(bool isDefault) {
    if (QPushButton* button = GetButton()) {
        button->setDefault(isDefault);
        button->setAutoDefault(isDefault);
    }
}

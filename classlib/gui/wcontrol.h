#pragma once

#include <string_view>

#include "classlib/gui/wwindow.h"

class WForm;

// A control of a form: bound to the window that the form's template created
// for one dialog item id.
class WControl : public WWindow {
public:
    // False when the form has no item of that id, or the item is of another kind.
    bool Attach(WForm* form, int itemId);
    WForm* GetForm() const { return form_; }
    int GetItemID() const { return itemId_; }
    // Percentages of the change of the form's client area size that move
    // each edge (x, y, width, height); see WForm.
    void SetResizePercentages(int x, int y, int width, int height);

protected:
    virtual bool Accepts(WWindowHandle item) const = 0;
    virtual void Attached() {}

private:
    WForm* form_ = nullptr;
    int itemId_ = 0;
};

// A single-line edit box.
class WTextBox : public WControl {
public:
    WString GetText() const override;
    void SetText(std::string_view text) override;

protected:
    bool Accepts(WWindowHandle item) const override;
};

// A static text. An "&" marks the mnemonic that moves the focus to the next
// control, as on the platform, or to the control given with SetBuddy.
class WLabel : public WControl {
public:
    WString GetText() const override;
    void SetText(std::string_view text) override;
    void SetBuddy(WWindow* control);

protected:
    bool Accepts(WWindowHandle item) const override;
    void Attached() override;
};

// A push button; pressing it fires ClickEvent with the button as source.
class WCommandButton : public WControl {
public:
    WString GetText() const override;
    void SetText(std::string_view text) override;
    // A default ("pushed") button is pressed by the Enter key; false makes it
    // an ordinary one.
    void SetDefault(bool isDefault);

protected:
    bool Accepts(WWindowHandle item) const override;
    void Attached() override;
};

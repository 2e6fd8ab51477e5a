#pragma once

#include <memory>
#include <string_view>

#include "classlib/core/wobject.h"
#include "classlib/core/wstring.h"
#include "classlib/gui/wtypes.h"

class WFont;
class WIcon;

// Base of every object that has a window: forms and controls. The window may
// not exist yet (or any more); the operations then do nothing and the reads
// give empty values.
class WWindow : public WObject {
public:
    WWindow();
    WWindow(const WWindow&) = delete;
    WWindow& operator=(const WWindow&) = delete;
    // A window that still exists goes with its object.
    ~WWindow() override;

    WWindowHandle GetHandle() const;
    bool HasWindow() const;

    virtual WString GetText() const;
    virtual void SetText(std::string_view text);

    void Enable(bool enable = true);
    void Disable() { Enable(false); }
    bool IsEnabled() const;
    void Show(bool show = true);
    bool IsVisible() const;

    void SetFont(const WFont& font);
    // From a description such as "8.MS Sans Serif"; false when it does not parse.
    bool SetFont(std::string_view description);
    void SetName(std::string_view name);
    const WString& GetName() const { return name_; }
    void SetSmallIcon(const WIcon& icon);

    // Position and size relative to the parent's client area.
    WRect GetRectangle() const;
    void Move(int x, int y, int width, int height, bool repaint = true);
    // Paints the window at once, without waiting for the event loop.
    void Update();
    // Gives the window the keyboard focus (once its top-level window is active).
    void SetFocus();

    // The backend's record of the window; defined in the backend's headers.
    struct Native;
    Native& GetNative() const { return *native_; }

protected:
    // Forgets the window and has it deleted once control is back in the event
    // loop (or with this object, whichever comes first): a window may be
    // destroyed from inside one of its own event handlers.
    void ReleaseWindowLater();

private:
    std::unique_ptr<Native> native_;
    WString name_;
};

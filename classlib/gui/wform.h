#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/gui/wwindow.h"

class WMenu;
class FormFrame;

// Data of DropFilesEvent: the local paths of the files dropped, in order.
struct WDropFilesData {
    std::vector<std::string> paths;
};

// A top-level window built from a dialog template of the program's module.
//
// Creating the window fires CreateEvent before Create returns; a close
// request (the close box, or PostClose) fires CloseEvent, and when no handler
// deals with it the window is destroyed. Destroying the window fires
// DestroyEvent first. The template's positions are dialog units, converted
// through the template font's metrics; its position is taken relative to the
// owner's client area (the screen's origin without an owner), and the window
// is kept wholly on the screen. After creation the first control of the tab
// order that can take the focus has it, tab stop or not.
class WForm : public WWindow {
public:
    WForm();
    ~WForm() override;

    // Creates the window from the named template, with parent (may be null) as
    // owner. False when the template is missing or the window is refused.
    virtual bool Create(WWindow* parent, std::string_view templateName);
    // Fires DestroyEvent, then removes the window. False when there is none.
    virtual bool DestroyWindow();
    // Asks the window to close, as its close box does, once control is back in
    // the event loop.
    void PostClose();

    // The window of the template's item with that id, or null.
    WWindowHandle GetDialogItem(int id) const;
    // The area the controls live in (the window less its menu bar and status line).
    WWindowHandle GetClientArea() const;
    WSize GetClientSize() const;

    bool SetMenu(WMenu* menu);  // null detaches the menu bar
    WMenu* GetMenu() const { return menu_; }

    // A line below the client area for notes that need no answer; the empty
    // text hides it.
    void SetStatusText(std::string_view text);
    WString GetStatusText() const;

    // Centres the form on its parent's client area, or without a parent on
    // the screen's available area, keeping it inside that area.
    void CenterWindow();
    // Moves and sizes the window (outer position, client-side size) so that it
    // lies wholly on the available area of the screen it is mostly on, or of
    // the primary screen when it is on none.
    void PlaceOnScreen(WRect placement);
    // Position and size as PlaceOnScreen takes them; the normal placement of
    // a maximised or minimised window.
    WRect GetPlacement() const;
    // The window cannot be made smaller than this (outer size).
    void SetMinimumTrackingSize(int width, int height);
    WSize GetOuterSize() const;

    // Resize percentages of a control (x, y, width, height): each positive one
    // moves that edge by its share of a change of the client area's size.
    void SetResizePercentages(WWindowHandle control, int x, int y, int width, int height);

    // Sets the order of the form's child windows; called during creation by
    // forms that have an order of their own.
    virtual void SetTabOrder() {}
    void OrderChildWindows(std::initializer_list<WWindow*> windows);

    WWindow* GetParentWindow() const { return parent_; }

    // Runs action when the key sequence ("Ctrl+F", "F3", "Shift+F3") is
    // pressed anywhere in the window.
    void AddHotKey(std::string_view keys, std::function<void()> action);
    // Files dropped on the window fire DropFilesEvent.
    void AcceptDroppedFiles();

    // Tests: make the next window creations fail as if the window system
    // refused them.
    static void RefuseWindowCreationForTesting(bool refuse);

    // Called by the window: a close request, and a new client area size.
    void HandleCloseRequest();
    void ClientAreaResized(WSize oldSize, WSize newSize);

protected:
    // The top-level window of this kind of form.
    virtual WWindowHandle MakeWindow(WWindowHandle parent);
    // When no CloseEvent handler dealt with a close request.
    virtual void DefaultClose();
    FormFrame* Frame() const { return frame_; }

private:
    struct ResizeRecord {
        WWindowHandle control;
        int percent[4] = {0, 0, 0, 0};  // x, y, width, height
        int remainder[4] = {0, 0, 0, 0};
    };

    bool BuildFromTemplate(std::string_view templateName, WWindowHandle parentWindow);
    // Whether the control is still a window of the client area.
    bool HasClientItem(WWindowHandle control) const;
    WRect ItemRectangle(WWindowHandle control) const;
    void MoveItem(WWindowHandle control, WRect rect);
    // The first control of the tab order that can take the focus gets it.
    void FocusFirstControl();

    FormFrame* frame_ = nullptr;  // lives inside the window
    WMenu* menu_ = nullptr;
    WWindow* parent_ = nullptr;
    std::vector<ResizeRecord> resizeRecords_;
};

// A form that leaves the rest of the program usable while it is open.
class WModelessDialog : public WForm {};

// A modal form: Create returns only when the dialog has been closed, and its
// parent takes no input meanwhile.
class WDialog : public WForm {
public:
    bool Create(WWindow* parent, std::string_view templateName) override;
    // Ends the modal run with result; the window is destroyed when the run returns.
    void EndDialog(int result);
    int GetModalResult() const { return result_; }
    bool IsModalRunning() const { return running_; }

protected:
    WWindowHandle MakeWindow(WWindowHandle parent) override;
    void DefaultClose() override { EndDialog(0); }

private:
    int result_ = 0;
    bool running_ = false;
    bool ended_ = false;
};

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/gui/wtemplates.h"
#include "classlib/gui/wtypes.h"
#include "classlib/win32/wwin32native.h"

// A key with its modifiers (MOD_CONTROL, MOD_SHIFT, MOD_ALT) and what it runs.
struct FormHotKey {
    UINT key = 0;
    UINT modifiers = 0;
    std::function<void()> action;
};

// What a form's window keeps beside the dialog window itself: the optional
// status line at the bottom, the client area size last reported to the form,
// and the smallest size the user may drag the window to.
class FormFrame {
public:
    HWND status = nullptr;
    std::string statusMessage;  // the status line's message as it was set
    std::string statusWhole;    // its full text in the host's form, also its tooltip
    WSize clientSize;
    WSize minimumSize;
    std::vector<FormHotKey> hotKeys;
};

// Runs the hot key of the message's form when the message is its key press;
// true when it did.
bool RunFormHotKey(const MSG& message);

// Dialog template bytes in the platform's in-memory format, built from one of
// the module's templates; positions stay in dialog units, for the system to
// convert through the template's font. The top-level window is not made
// visible here: the form shows it once it is set up.
std::vector<WORD> BuildDialogTemplate(std::string_view templateName);
std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialog);

// The window procedure of every form.
INT_PTR CALLBACK FormProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#include "classlib/gui/wwindow.h"

#include "classlib/gui/wfont.h"

// The parts of a window that are the same on every backend.

bool WWindow::SetFont(std::string_view description) {
    WFont font;
    if (!font.Create(description)) {
        return false;
    }
    SetFont(font);
    return true;
}

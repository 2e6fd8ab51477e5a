#include "classlib/gui/wcursor.h"

#include "classlib/gui/wwindow.h"
#include "classlib/win32/wwin32native.h"

namespace {
bool waitShown = false;
}

bool WaitCursorShown() {
    return waitShown;
}

WCursor::WCursor(Stock stock) : stock_(stock), hasShape_(true) {}

WCursor WCursor::Set(WWindow* window) const {
    WCursor previous;
    if (window == nullptr || !window->HasWindow()) {
        return previous;
    }
    previous.stock_ = waitShown ? Stock::Wait : Stock::Arrow;
    previous.hasShape_ = waitShown;
    // The program holds its only thread while it is busy; every window of it
    // answers WM_SETCURSOR with the wait cursor meanwhile.
    waitShown = hasShape_ && stock_ == Stock::Wait;
    SetCursor(LoadCursorW(nullptr, waitShown ? IDC_WAIT : IDC_ARROW));
    return previous;
}

WWaitCursor::WWaitCursor(WWindow* window)
    : window_(window), previous_(WCursor(WCursor::Stock::Wait).Set(window)) {}

WWaitCursor::~WWaitCursor() {
    previous_.Set(window_);
}

#pragma once

#include <vector>

#include "classlib/win32/wwin32native.h"

// While a long piece of work holds the program's only thread, Pump lets the
// windows paint and follow the system between slices of it. Keyboard and
// mouse input is dropped so that nothing changes what the work walks; Esc
// asks the work to stop. Close requests, dropped files and the quit message
// wait until the work is done and then go their usual way.
class BusyInput {
public:
    BusyInput();
    ~BusyInput();
    BusyInput(const BusyInput&) = delete;
    BusyInput& operator=(const BusyInput&) = delete;

    // Handles every waiting message; true once Esc was pressed.
    bool Pump();
    bool StopAsked() const { return stopAsked_; }

    // For the forms' window procedure: true when a close request or dropped
    // files sent to the window must wait for the running work (they are then
    // kept for later).
    static bool HoldsBack(HWND hwnd, UINT message, WPARAM wParam = 0);

private:
    // True when the message was taken here and must not be dispatched.
    bool Intercept(const MSG& message);
    void Hold(HWND hwnd, UINT message, WPARAM wParam);

    bool stopAsked_ = false;
    bool quitPosted_ = false;
    int quitCode_ = 0;
    std::vector<MSG> held_;  // posted again, in order, when the work is done
    BusyInput* outer_ = nullptr;
};

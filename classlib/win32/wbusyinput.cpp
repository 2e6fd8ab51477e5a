#include "classlib/win32/wbusyinput.h"

#include <algorithm>

namespace {

BusyInput* running = nullptr;

bool IsKeyboardInput(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// Clicks, double clicks and the wheel, in the client area or on the frame;
// moving the mouse stays, so that the cursor follows and shows the wait.
bool IsMouseAction(UINT message) {
    const bool client =
        message >= WM_LBUTTONDOWN && message <= WM_MOUSELAST && message != WM_MOUSEMOVE;
    const bool frame = message >= WM_NCLBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK;
    return client || frame;
}

}  // namespace

BusyInput::BusyInput() : outer_(running) {
    running = this;
}

BusyInput::~BusyInput() {
    running = outer_;
    for (const MSG& message : held_) {
        if (IsWindow(message.hwnd)) {
            PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
        }
    }
    if (quitPosted_) {
        PostQuitMessage(quitCode_);
    }
}

bool BusyInput::HoldsBack(HWND hwnd, UINT message, WPARAM wParam) {
    if (running == nullptr) {
        return false;
    }
    running->Hold(hwnd, message, wParam);
    return true;
}

// A close request is kept once per window; dropped files each time.
void BusyInput::Hold(HWND hwnd, UINT message, WPARAM wParam) {
    const bool known = std::any_of(held_.begin(), held_.end(), [&](const MSG& held) {
        return message == WM_CLOSE && held.hwnd == hwnd && held.message == WM_CLOSE;
    });
    if (!known) {
        MSG held{};
        held.hwnd = hwnd;
        held.message = message;
        held.wParam = wParam;
        held_.push_back(held);
    }
}

bool BusyInput::Intercept(const MSG& message) {
    if (message.message == WM_QUIT) {
        quitPosted_ = true;
        quitCode_ = static_cast<int>(message.wParam);
        return true;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        stopAsked_ = true;
    }
    // The close box and Alt+F4 arrive as a system command; it waits as a close.
    if (message.message == WM_SYSCOMMAND && (message.wParam & 0xFFF0) == SC_CLOSE) {
        return HoldsBack(GetAncestor(message.hwnd, GA_ROOT), WM_CLOSE);
    }
    // A dropped project would replace the tree under the work.
    if (message.message == WM_CLOSE || message.message == WM_DROPFILES) {
        return HoldsBack(message.hwnd, message.message, message.wParam);
    }
    return IsKeyboardInput(message.message) || IsMouseAction(message.message);
}

bool BusyInput::Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!Intercept(message)) {
            DispatchMessageW(&message);
        }
    }
    return stopAsked_;
}

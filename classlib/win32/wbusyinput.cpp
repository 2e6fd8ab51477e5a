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
    for (HWND hwnd : closesHeld_) {
        if (IsWindow(hwnd)) {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
    }
    if (quitPosted_) {
        PostQuitMessage(quitCode_);
    }
}

bool BusyInput::HoldsBackClose(HWND hwnd) {
    if (running == nullptr) {
        return false;
    }
    if (std::find(running->closesHeld_.begin(), running->closesHeld_.end(), hwnd) ==
        running->closesHeld_.end()) {
        running->closesHeld_.push_back(hwnd);
    }
    return true;
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
        return HoldsBackClose(GetAncestor(message.hwnd, GA_ROOT));
    }
    if (message.message == WM_CLOSE) {
        return HoldsBackClose(message.hwnd);
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

#include "classlib/gui/wapplication.h"

#include "classlib/gui/wevents.h"
#include "classlib/gui/wquitrequest.h"
#include "classlib/win32/formframe.h"
#include "classlib/win32/wwin32native.h"
// After the native header, which sets the platform up.
#include <objbase.h>

namespace {

struct LoopState {
    int running = 0;
};

LoopState& State() {
    static LoopState state;
    return state;
}

// Keyboard navigation of the form the message is for: Tab, mnemonics, Escape.
bool IsFormMessage(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    return root != nullptr && GetPropW(root, L"Tamsk.Frame") != nullptr &&
           (RunFormHotKey(message) || IsDialogMessageW(root, &message));
}

// Whether the program may open windows at all: a session without a desktop
// (or Wine without an X server) refuses the first one.
bool CanOpenWindows() {
    HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

}  // namespace

int WMessageLoop::Run() {
    LoopState& state = State();
    if (PendingQuit().posted) {
        // The quit waits behind the messages already queued.
        ::PostQuitMessage(PendingQuit().code);
    }
    ++state.running;
    MSG message{};
    int code = 0;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            code = static_cast<int>(message.wParam);
            break;
        }
        if (got < 0) {
            code = -1;
            break;
        }
        if (!IsFormMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    --state.running;
    PendingQuit().posted = false;
    return code;
}

void WMessageLoop::PostQuitMessage(int code) {
    LoopState& state = State();
    PendingQuit().posted = true;
    PendingQuit().code = code;
    if (state.running > 0) {
        ::PostQuitMessage(code);
    }
}

WExeApplication::WExeApplication() : native_(std::make_unique<Native>()) {}

WExeApplication::~WExeApplication() = default;

int WExeApplication::Run(int argc, char** argv) {
    KeepArguments(argc, argv);
    if (!CanOpenWindows()) {
        WriteNoDisplayLine(argc > 0 && argv && argv[0] ? argv[0] : "tamsk");
        return -1;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC =
        ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    // The folder browser's new-style dialog needs COM in this thread.
    native_->comStarted = SUCCEEDED(OleInitialize(nullptr));
    const int exitCode = DispatchStartRunEnd();
    if (native_->comStarted) {
        OleUninitialize();
        native_->comStarted = false;
    }
    return exitCode;
}

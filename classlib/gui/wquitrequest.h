#pragma once

// A quit asked for through WMessageLoop::PostQuitMessage: kept until a loop
// ends on it, so that a quit posted before any loop runs ends the next one.
// The backends' loops read and clear it; its accessors are shared.
struct WQuitRequest {
    bool posted = false;
    int code = 0;
};

WQuitRequest& PendingQuit();

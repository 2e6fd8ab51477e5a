#pragma once

// While the program is busy and lets the window system in only to paint (the
// wait cursor, new rows), a request to close a window must not destroy what
// the busy work is using. Such requests are held and made again, in order,
// once the outermost hold ends. Holds nest.
void HoldCloseRequests();
void ReleaseCloseRequests();

class CloseRequestsHeld {
public:
    CloseRequestsHeld() { HoldCloseRequests(); }
    ~CloseRequestsHeld() { ReleaseCloseRequests(); }
    CloseRequestsHeld(const CloseRequestsHeld&) = delete;
    CloseRequestsHeld& operator=(const CloseRequestsHeld&) = delete;
};

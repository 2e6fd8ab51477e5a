#pragma once

// The class library's own geometry and window handle, so that forms and
// dialogs are written without naming any window system's types.

// A size in pixels.
struct WSize {
    int w = 0;
    int h = 0;
    int width() const { return w; }
    int height() const { return h; }
    bool operator==(const WSize&) const = default;
};

// A rectangle in pixels: the top left corner and the size.
struct WRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int width() const { return w; }
    int height() const { return h; }
    WSize size() const { return {w, h}; }
    bool operator==(const WRect&) const = default;
};

// A window of the backend, opaque to the code written against the library;
// only the backend's own headers turn it into the native window.
struct WWindowHandle {
    void* native = nullptr;
    explicit operator bool() const { return native != nullptr; }
    bool operator==(const WWindowHandle&) const = default;
};

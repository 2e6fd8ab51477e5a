#pragma once

#include "classlib/core/wobject.h"

class WWindow;

// A cursor shown over a window. Setting one returns the cursor it replaces,
// which the caller sets back afterwards.
class WCursor : public WObject {
public:
    enum class Stock { Arrow, Wait };

    WCursor() = default;
    explicit WCursor(Stock stock);

    // Shows this cursor over the window (and the whole program while it is
    // busy, for the wait cursor); returns the one it replaces.
    WCursor Set(WWindow* window) const;
    bool IsWait() const { return stock_ == Stock::Wait; }
    Stock GetStock() const { return stock_; }

private:
    Stock stock_ = Stock::Arrow;
    bool hasShape_ = false;
};

// Shows the wait cursor for the life of the object.
class WWaitCursor {
public:
    explicit WWaitCursor(WWindow* window);
    ~WWaitCursor();
    WWaitCursor(const WWaitCursor&) = delete;
    WWaitCursor& operator=(const WWaitCursor&) = delete;

private:
    WWindow* window_;
    WCursor previous_;
};

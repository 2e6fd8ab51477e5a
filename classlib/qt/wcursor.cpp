#include "classlib/gui/wcursor.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include "classlib/gui/wwindow.h"
#include "classlib/qt/heldclose.h"
#include "classlib/qt/wqtnative.h"

namespace {

Qt::CursorShape ShapeOf(WCursor::Stock stock) {
    return stock == WCursor::Stock::Wait ? Qt::WaitCursor : Qt::ArrowCursor;
}

}  // namespace

WCursor::WCursor(Stock stock) : stock_(stock), hasShape_(true) {}

WCursor WCursor::Set(WWindow* window) const {
    WCursor previous;
    QWidget* widget = window ? QtWidget(*window) : nullptr;
    if (widget == nullptr) {
        return previous;
    }
    previous.stock_ = widget->cursor().shape() == Qt::WaitCursor ? Stock::Wait : Stock::Arrow;
    previous.hasShape_ = widget->testAttribute(Qt::WA_SetCursor);
    if (hasShape_) {
        widget->setCursor(ShapeOf(stock_));
    } else {
        widget->unsetCursor();
    }
    // The program holds its only thread while it is busy; the override shows
    // the wait cursor over every window, including the menu bar.
    if (stock_ == Stock::Wait && hasShape_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // Let the window system see it before the work starts; input waits.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (previous.stock_ == Stock::Wait && QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
    }
    return previous;
}

namespace {

// The wait cursor lets the window system in to paint it: a close request that
// comes meanwhile waits until the work is done.
WCursor HoldCloseAndShowWait(WWindow* window) {
    HoldCloseRequests();
    return WCursor(WCursor::Stock::Wait).Set(window);
}

}  // namespace

WWaitCursor::WWaitCursor(WWindow* window)
    : window_(window), previous_(HoldCloseAndShowWait(window)) {}

WWaitCursor::~WWaitCursor() {
    previous_.Set(window_);
    ReleaseCloseRequests();
}

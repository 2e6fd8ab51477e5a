#include "classlib/gui/wcursor.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include "classlib/gui/wwindow.h"

WCursor::WCursor(Stock stock)
    : shape_(stock == Stock::Wait ? Qt::WaitCursor : Qt::ArrowCursor), hasShape_(true) {}

WCursor WCursor::Set(WWindow* window) const {
    WCursor previous;
    QWidget* widget = window ? window->GetWidget() : nullptr;
    if (widget == nullptr) {
        return previous;
    }
    previous.shape_ = widget->cursor().shape();
    previous.hasShape_ = widget->testAttribute(Qt::WA_SetCursor);
    if (hasShape_) {
        widget->setCursor(shape_);
    } else {
        widget->unsetCursor();
    }
    // The program holds its only thread while it is busy; the override shows
    // the wait cursor over every window, including the menu bar.
    if (shape_ == Qt::WaitCursor && hasShape_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // Let the window system see it before the work starts; input waits.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (previous.shape_ == Qt::WaitCursor && QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
    }
    return previous;
}

WWaitCursor::WWaitCursor(WWindow* window)
    : window_(window), previous_(WCursor(WCursor::Stock::Wait).Set(window)) {}

WWaitCursor::~WWaitCursor() {
    previous_.Set(window_);
}

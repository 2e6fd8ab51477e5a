#include "classlib/gui/wwindow.h"

#include "classlib/gui/wevents.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wicon.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

WWindow::WWindow() : native_(std::make_unique<Native>()) {}

WWindow::~WWindow() {
    // A later object at this address must not inherit this window's handlers.
    WUnregisterAllEvents(this);
    delete native_->widget.data();
    delete native_->released.data();
}

WWindowHandle WWindow::GetHandle() const {
    return HandleOf(native_->widget.data());
}

bool WWindow::HasWindow() const {
    return !native_->widget.isNull();
}

WString WWindow::GetText() const {
    return native_->widget ? WString(FromQString(native_->widget->windowTitle())) : WString();
}

void WWindow::SetText(std::string_view text) {
    if (native_->widget) {
        native_->widget->setWindowTitle(ToQString(text));
    }
}

void WWindow::Enable(bool enable) {
    if (native_->widget) {
        native_->widget->setEnabled(enable);
    }
}

bool WWindow::IsEnabled() const {
    return native_->widget && native_->widget->isEnabled();
}

void WWindow::Show(bool show) {
    if (native_->widget) {
        native_->widget->setVisible(show);
        // A window shown takes the keyboard, as on the platform, also where no
        // window manager would give it.
        if (show && native_->widget->isWindow()) {
            native_->widget->activateWindow();
        }
    }
}

bool WWindow::IsVisible() const {
    return native_->widget && native_->widget->isVisible();
}

void WWindow::SetFont(const WFont& font) {
    if (native_->widget) {
        native_->widget->setFont(QtFont(font));
    }
}

void WWindow::SetName(std::string_view name) {
    name_ = WString(name);
    if (native_->widget) {
        native_->widget->setObjectName(ToQString(name));
    }
}

void WWindow::SetSmallIcon(const WIcon& icon) {
    if (native_->widget) {
        native_->widget->setWindowIcon(QtIcon(icon));
    }
}

WRect WWindow::GetRectangle() const {
    if (!native_->widget) {
        return {};
    }
    const QRect geometry = native_->widget->geometry();
    return WRect{geometry.x(), geometry.y(), geometry.width(), geometry.height()};
}

void WWindow::Move(int x, int y, int width, int height, bool repaint) {
    if (!native_->widget) {
        return;
    }
    native_->widget->setGeometry(x, y, width, height);
    if (repaint && native_->widget->isVisible()) {
        native_->widget->repaint();
    }
}

void WWindow::Update() {
    if (native_->widget && native_->widget->isVisible()) {
        native_->widget->repaint();
    }
}

void WWindow::ReleaseWindowLater() {
    if (!native_->widget) {
        return;
    }
    QWidget* widget = native_->widget.data();
    native_->widget = nullptr;
    widget->hide();
    delete native_->released.data();
    native_->released = widget;
    widget->deleteLater();
}

void WWindow::SetFocus() {
    if (QWidget* widget = QtWidget(*this)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

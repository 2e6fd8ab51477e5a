#include "classlib/qt/wwindow.h"

#include "classlib/qt/wevents.h"
#include "classlib/qt/wfont.h"
#include "classlib/qt/wicon.h"
#include "classlib/qt/wqtstring.h"

WWindow::~WWindow() {
    // A later object at this address must not inherit this window's handlers.
    WUnregisterAllEvents(this);
    delete widget_.data();
    delete released_.data();
}

WString WWindow::GetText() const {
    return widget_ ? WString(FromQString(widget_->windowTitle())) : WString();
}

void WWindow::SetText(std::string_view text) {
    if (widget_) {
        widget_->setWindowTitle(ToQString(text));
    }
}

void WWindow::Enable(bool enable) {
    if (widget_) {
        widget_->setEnabled(enable);
    }
}

bool WWindow::IsEnabled() const {
    return widget_ && widget_->isEnabled();
}

void WWindow::Show(bool show) {
    if (widget_) {
        widget_->setVisible(show);
    }
}

bool WWindow::IsVisible() const {
    return widget_ && widget_->isVisible();
}

void WWindow::SetFont(const WFont& font) {
    if (widget_) {
        widget_->setFont(font.GetQFont());
    }
}

bool WWindow::SetFont(std::string_view description) {
    WFont font;
    if (!font.Create(description)) {
        return false;
    }
    SetFont(font);
    return true;
}

void WWindow::SetName(std::string_view name) {
    name_ = WString(name);
    if (widget_) {
        widget_->setObjectName(ToQString(name));
    }
}

void WWindow::SetSmallIcon(const WIcon& icon) {
    if (widget_) {
        widget_->setWindowIcon(icon.GetQIcon());
    }
}

QRect WWindow::GetRectangle() const {
    return widget_ ? widget_->geometry() : QRect();
}

void WWindow::Move(int x, int y, int width, int height, bool repaint) {
    if (!widget_) {
        return;
    }
    widget_->setGeometry(x, y, width, height);
    if (repaint && widget_->isVisible()) {
        widget_->repaint();
    }
}

void WWindow::Update() {
    if (widget_ && widget_->isVisible()) {
        widget_->repaint();
    }
}

void WWindow::ReleaseWidgetLater() {
    if (!widget_) {
        return;
    }
    QWidget* widget = widget_.data();
    widget_ = nullptr;
    widget->hide();
    delete released_.data();
    released_ = widget;
    widget->deleteLater();
}

void WWindow::SetFocus() {
    if (QWidget* widget = GetWidget()) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

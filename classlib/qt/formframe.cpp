#include "classlib/qt/formframe.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QUrl>

#include "classlib/core/messagetext.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wform.h"
#include "classlib/qt/wqtstring.h"

namespace {

// The local files of a drag, or nothing when anything else comes with it.
std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        paths.push_back(FromQString(url.toLocalFile()));
    }
    return paths;
}

}  // namespace

FormFrame::FormFrame(QWidget* window, WForm* form)
    : window_(window), form_(form), client_(new QWidget(window)), status_(new QLabel(window)) {
    client_->setObjectName(QStringLiteral("clientArea"));
    status_->setObjectName(QStringLiteral("statusLine"));
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setContentsMargins(4, 1, 4, 1);
    // Messages are plain text, and the whole of one can be selected and copied.
    status_->setTextFormat(Qt::PlainText);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->hide();
}

void FormFrame::SetMenuBar(QMenuBar* menuBar) {
    if (menuBar_ == menuBar) {
        return;
    }
    if (menuBar_) {
        menuBar_->hide();
        menuBar_->setParent(nullptr);
    }
    menuBar_ = menuBar;
    if (menuBar_) {
        menuBar_->setParent(window_);
        menuBar_->show();
    }
    Layout();
}

void FormFrame::SetStatusText(std::string_view message) {
    statusMessage_ = message;
    statusFittedWidth_ = -1;
    status_->setVisible(!message.empty());
    FitStatusText();
    status_->setToolTip(statusWhole_);
    Layout();
}

void FormFrame::FitStatusText() {
    const int width = window_->width();
    if (width == statusFittedWidth_) {
        return;
    }
    statusFittedWidth_ = width;
    // The frame and the margins around the text.
    const int room = width - (status_->width() - status_->contentsRect().width());
    const QFontMetrics metrics(status_->font());
    const StatusLineText line = StatusLineTextOf(statusMessage_, [&](std::string_view shown) {
        return metrics.horizontalAdvance(ToQString(shown)) <= room;
    });
    statusWhole_ = ToQString(line.whole);
    status_->setText(ToQString(line.shown));
}

int FormFrame::MenuHeight() const {
    return menuBar_ ? menuBar_->heightForWidth(window_->width()) > 0
                          ? menuBar_->heightForWidth(window_->width())
                          : menuBar_->sizeHint().height()
                    : 0;
}

int FormFrame::StatusHeight() const {
    return status_->isVisibleTo(window_) ? status_->sizeHint().height() : 0;
}

void FormFrame::ResizeForClient(QSize clientSize) {
    window_->resize(clientSize.width(), clientSize.height() + MenuHeight() + StatusHeight());
    Layout();
}

void FormFrame::Layout() {
    const int width = window_->width();
    FitStatusText();
    const int menuHeight = MenuHeight();
    const int statusHeight = StatusHeight();
    if (menuBar_) {
        menuBar_->setGeometry(0, 0, width, menuHeight);
    }
    const QSize clientSize(width, qMax(0, window_->height() - menuHeight - statusHeight));
    client_->setGeometry(0, menuHeight, clientSize.width(), clientSize.height());
    if (statusHeight > 0) {
        status_->setGeometry(0, menuHeight + clientSize.height(), width, statusHeight);
    }
    if (clientSize != clientSize_) {
        const QSize oldSize = clientSize_;
        clientSize_ = clientSize;
        if (oldSize.isValid()) {
            form_->ClientAreaResized(WSize{oldSize.width(), oldSize.height()},
                                     WSize{clientSize.width(), clientSize.height()});
        }
    }
}

void FormFrame::KeepMinimumSize() {
    const QSize minimum = window_->minimumSize();
    if (window_->width() < minimum.width() || window_->height() < minimum.height()) {
        // Asked for once the resize is through, not from inside it.
        QTimer::singleShot(0, window_, [window = QPointer<QWidget>(window_)] {
            if (window) {
                window->resize(window->size().expandedTo(window->minimumSize()));
            }
        });
    }
}

FormWindow::FormWindow(QWidget* parent, WForm* form)
    : QWidget(parent, parent ? Qt::Window : Qt::WindowFlags()), form_(form), frame_(this, form) {}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    frame_.Layout();
    frame_.KeepMinimumSize();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The form decides: its CloseEvent handlers, or else destroying the window.
    event->ignore();
    form_->HandleCloseRequest();
}

void FormWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void FormWindow::dropEvent(QDropEvent* event) {
    WDropFilesData dropped{LocalFiles(event->mimeData())};
    if (!dropped.paths.empty()) {
        event->acceptProposedAction();
        WDispatchEvent(form_, DropFilesEvent, &dropped);
    }
}

DialogWindow::DialogWindow(QWidget* parent, WForm* form)
    : QDialog(parent), form_(form), frame_(this, form) {}

void DialogWindow::reject() {
    form_->HandleCloseRequest();
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (enter && button != nullptr && button->isEnabled() &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    frame_.Layout();
    frame_.KeepMinimumSize();
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    form_->HandleCloseRequest();
}

#include "classlib/qt/heldclose.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

namespace {

class CloseRequestFilter : public QObject {
public:
    CloseRequestFilter() { qApp->installEventFilter(this); }
    ~CloseRequestFilter() override { qApp->removeEventFilter(this); }

    // Asks each window held to close, once, after the caller has returned to
    // the event loop.
    void Replay() {
        for (const QPointer<QWidget>& window : held_) {
            QWidget* target = window.data();
            if (target != nullptr) {
                QMetaObject::invokeMethod(
                    target, [target] { target->close(); }, Qt::QueuedConnection);
            }
        }
        held_.clear();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Close || !watched->isWidgetType() ||
            !static_cast<QWidget*>(watched)->isWindow()) {
            return false;
        }
        // Not accepted: Qt would otherwise hide the window.
        event->ignore();
        auto* window = static_cast<QWidget*>(watched);
        for (const QPointer<QWidget>& known : held_) {
            if (known == window) {
                return true;
            }
        }
        held_.emplace_back(window);
        return true;
    }

private:
    std::vector<QPointer<QWidget>> held_;
};

int holdDepth = 0;
std::unique_ptr<CloseRequestFilter> filter;

}  // namespace

void HoldCloseRequests() {
    if (holdDepth++ == 0 && qApp != nullptr) {
        filter = std::make_unique<CloseRequestFilter>();
    }
}

void ReleaseCloseRequests() {
    if (holdDepth > 0 && --holdDepth == 0 && filter != nullptr) {
        filter->Replay();
        filter.reset();
    }
}

#include "classlib/gui/wapplication.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <utility>
#include <vector>

#include "classlib/gui/wevents.h"
#include "classlib/qt/wqtnative.h"

namespace {

struct LoopState {
    bool quitPosted = false;
    int quitCode = 0;
    QPointer<QEventLoop> running;
};

LoopState& State() {
    static LoopState state;
    return state;
}

void ExitRunningLoop() {
    LoopState& state = State();
    if (state.running) {
        QEventLoop* loop = state.running.data();
        const int code = state.quitCode;
        QMetaObject::invokeMethod(
            loop, [loop, code]() { loop->exit(code); }, Qt::QueuedConnection);
    }
}

}  // namespace

int WMessageLoop::Run() {
    LoopState& state = State();
    QEventLoop loop;
    state.running = &loop;
    if (state.quitPosted) {
        ExitRunningLoop();
    }
    const int code = loop.exec();
    state.running = nullptr;
    state.quitPosted = false;
    return code;
}

void WMessageLoop::PostQuitMessage(int code) {
    LoopState& state = State();
    state.quitPosted = true;
    state.quitCode = code;
    ExitRunningLoop();
}

bool WMessageLoop::IsQuitPosted() {
    return State().quitPosted;
}

int WMessageLoop::GetQuitCode() {
    return State().quitCode;
}

void WMessageLoop::ResetForTesting() {
    State().quitPosted = false;
    State().quitCode = 0;
}

WExeApplication::WExeApplication() : native_(std::make_unique<Native>()) {}

WExeApplication::~WExeApplication() = default;

int WExeApplication::Run(int argc, char** argv) {
    if (QCoreApplication::instance() == nullptr) {
        // Only the program name goes to the toolkit; the rest is ignored.
        static int toolkitArgc = 1;
        static char fallbackName[] = "tamsk";
        static char* toolkitArgv[] = {argc > 0 && argv && argv[0] ? argv[0] : fallbackName,
                                      nullptr};
        native_->application = std::make_unique<QApplication>(toolkitArgc, toolkitArgv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    const int exitCode = DispatchStartRunEnd();
    native_->application.reset();
    return exitCode;
}

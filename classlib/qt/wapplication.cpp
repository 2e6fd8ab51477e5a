#include "classlib/gui/wapplication.h"

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <cstdlib>
#include <utility>
#include <vector>

#include "classlib/gui/wevents.h"
#include "classlib/gui/wquitrequest.h"
#include "classlib/qt/wqtnative.h"

namespace {

struct LoopState {
    QPointer<QEventLoop> running;
};

LoopState& State() {
    static LoopState state;
    return state;
}

// While the toolkit opens its display: its notes are held back, and its fatal
// error (no platform could be opened) ends the process with our one line.
const char* openingProgram = nullptr;
QList<std::pair<QtMsgType, QString>> heldNotes;

void WhileOpening(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type == QtFatalMsg) {
        WriteNoDisplayLine(openingProgram);
        std::_Exit(255);  // -1 as the program's exit code
    }
    heldNotes.append({type, text});
}

// Only the program name goes to the toolkit.
std::unique_ptr<QApplication> MakeToolkitApplication(const char* programName) {
    static int toolkitArgc = 1;
    static char* toolkitArgv[] = {nullptr, nullptr};
    toolkitArgv[0] = const_cast<char*>(programName);
    openingProgram = programName;
    heldNotes.clear();
    const QtMessageHandler previous = qInstallMessageHandler(WhileOpening);
    auto application = std::make_unique<QApplication>(toolkitArgc, toolkitArgv);
    qInstallMessageHandler(previous);
    for (const auto& [type, text] : heldNotes) {
        qt_message_output(type, QMessageLogContext(), text);
    }
    heldNotes.clear();
    return application;
}

void ExitRunningLoop() {
    LoopState& state = State();
    if (state.running) {
        QEventLoop* loop = state.running.data();
        const int code = PendingQuit().code;
        QMetaObject::invokeMethod(
            loop, [loop, code]() { loop->exit(code); }, Qt::QueuedConnection);
    }
}

}  // namespace

int WMessageLoop::Run() {
    LoopState& state = State();
    QEventLoop loop;
    state.running = &loop;
    if (PendingQuit().posted) {
        ExitRunningLoop();
    }
    const int code = loop.exec();
    state.running = nullptr;
    PendingQuit().posted = false;
    return code;
}

void WMessageLoop::PostQuitMessage(int code) {
    PendingQuit().posted = true;
    PendingQuit().code = code;
    ExitRunningLoop();
}

WExeApplication::WExeApplication() : native_(std::make_unique<Native>()) {}

WExeApplication::~WExeApplication() = default;

int WExeApplication::Run(int argc, char** argv) {
    KeepArguments(argc, argv);
    if (QCoreApplication::instance() == nullptr) {
        static char fallbackName[] = "tamsk";
        native_->application =
            MakeToolkitApplication(argc > 0 && argv && argv[0] ? argv[0] : fallbackName);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    const int exitCode = DispatchStartRunEnd();
    native_->application.reset();
    return exitCode;
}

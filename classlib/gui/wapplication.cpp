#include "classlib/gui/wapplication.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "classlib/gui/wevents.h"
#include "classlib/gui/wquitrequest.h"

namespace {

struct Component {
    std::function<void()> initialise;
    std::function<void()> finalise;
};

std::vector<Component>& Components() {
    static std::vector<Component> components;
    return components;
}

}  // namespace

void WExeApplication::AddComponent(std::function<void()> initialise,
                                   std::function<void()> finalise) {
    Components().push_back({std::move(initialise), std::move(finalise)});
}

void WExeApplication::RunComponentInitialisers() {
    for (const Component& component : Components()) {
        if (component.initialise) {
            component.initialise();
        }
    }
}

void WExeApplication::RunComponentFinalisers() {
    for (auto it = Components().rbegin(); it != Components().rend(); ++it) {
        if (it->finalise) {
            it->finalise();
        }
    }
}

void WExeApplication::KeepArguments(int argc, char** argv) {
    arguments_.clear();
    for (int i = 1; i < argc && argv != nullptr; ++i) {
        arguments_.emplace_back(argv[i] ? argv[i] : "");
    }
}

int WExeApplication::DispatchStartRunEnd() {
    WApplicationEventData data;
    WDispatchEvent(this, StartEvent, &data);
    if (!data.abort) {
        WDispatchEvent(this, RunEvent, &data);
    }
    WDispatchEvent(this, EndEvent, &data);
    return data.exitCode;
}

void WriteNoDisplayLine(const char* programName) {
    std::fprintf(stderr, "%s: cannot open a window: no display is available\n", programName);
    std::fflush(stderr);
}

WQuitRequest& PendingQuit() {
    static WQuitRequest request;
    return request;
}

bool WMessageLoop::IsQuitPosted() {
    return PendingQuit().posted;
}

int WMessageLoop::GetQuitCode() {
    return PendingQuit().code;
}

void WMessageLoop::ResetForTesting() {
    PendingQuit() = {};
}

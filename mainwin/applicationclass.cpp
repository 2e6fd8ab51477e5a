#include "mainwin/applicationclass.h"

#include <cstdio>
#include <string>

#include "classlib/core/hostfs.h"
#include "classlib/core/wstring.h"
#include "mainwin/mainform.h"
#include "mainwin/startoptions.h"
#include "mainwin/tamskform.h"
#include "resources/programresources.h"

ApplicationClass::ApplicationClass() {
    // For each event the generated handler first, then the hand-written one,
    // which is therefore called first.
    const WEventMap handlers[] = {
        {StartEvent, WHandler(&ApplicationClass::GeneratedStart), this},
        {StartEvent, WHandler(&ApplicationClass::OnStart), this},
        {RunEvent, WHandler(&ApplicationClass::GeneratedRun), this},
        {RunEvent, WHandler(&ApplicationClass::OnRun), this},
        {EndEvent, WHandler(&ApplicationClass::GeneratedEnd), this},
        {EndEvent, WHandler(&ApplicationClass::OnEnd), this},
        {NullEvent, nullptr, nullptr},
    };
    WRegisterEvents(this, handlers);
}

ApplicationClass::~ApplicationClass() {
    WUnregisterAllEvents(this);
}

bool ApplicationClass::OnStart(WObject* /*source*/, void* eventData) {
    RegisterProgramResources();
    auto* data = static_cast<WApplicationEventData*>(eventData);
    data->exitCode = 0;
    data->abort = false;
    return false;
}

bool ApplicationClass::OnRun(WObject* /*source*/, void* /*eventData*/) {
    return false;
}

bool ApplicationClass::OnEnd(WObject* /*source*/, void* /*eventData*/) {
    return false;
}

bool ApplicationClass::GeneratedStart(WObject* /*source*/, void* eventData) {
    auto* data = static_cast<WApplicationEventData*>(eventData);
    RunComponentInitialisers();
    NativeHostFs fs;
    std::string complaint;
    const StartOptions start = PrepareStart(
        GetArguments(),
        [](const char* name) { return WString::GetEnvironmentVariable(name).Str(); },
        kHostConfigRules, fs, complaint);
    if (!complaint.empty()) {
        std::fprintf(stderr, "tamsk: %s\n", complaint.c_str());
    }
    CreateMainForm(start.settingsFile.c_str());
    if (mainForm == nullptr) {
        data->exitCode = -1;
        data->abort = true;
    } else {
        mainForm->OpenFromCommandLine(start.projectArguments);
    }
    return true;
}

bool ApplicationClass::GeneratedRun(WObject* /*source*/, void* eventData) {
    static_cast<WApplicationEventData*>(eventData)->exitCode = WMessageLoop::Run();
    return true;
}

bool ApplicationClass::GeneratedEnd(WObject* /*source*/, void* /*eventData*/) {
    DestroyMainForm();
    mainForm = nullptr;
    RunComponentFinalisers();
    return true;
}

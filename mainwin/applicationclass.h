#pragma once

#include "classlib/gui/wapplication.h"
#include "classlib/gui/wevents.h"

// The program's application object: its start creates the main form, its run
// is the message loop, its end destroys the main form.
class ApplicationClass : public WExeApplication {
public:
    ApplicationClass();
    ~ApplicationClass() override;

    // Generated handlers.
    bool GeneratedStart(WObject* source, void* eventData);
    bool GeneratedRun(WObject* source, void* eventData);
    bool GeneratedEnd(WObject* source, void* eventData);
    // Hand-written handlers, called before the generated ones.
    bool OnStart(WObject* source, void* eventData);
    bool OnRun(WObject* source, void* eventData);
    bool OnEnd(WObject* source, void* eventData);
};

#pragma once

#include <type_traits>

#include "classlib/core/wobject.h"

// Event ids: one enumeration for every object of the library.
enum WEventID : int {
    NullEvent = 28,  // ends a handler table
    ClickEvent = 30,
    StartEvent = 57,
    RunEvent = 58,
    EndEvent = 59,
    DeleteItemEvent = 79,
    CloseEvent = 84,
    CreateEvent = 87,
    DestroyEvent = 88,
    DropFilesEvent = 90,  // files dropped on a form; the data is a WDropFilesData
};

// A handler is a member function of its target object. It receives the object
// that raised the event and the event data, and returns true when it has dealt
// with the event completely: no further handler is then called.
using WEventHandler = bool (WObject::*)(WObject* source, void* eventData);

// Turns a member function of a class derived from WObject into a handler.
template <typename T>
WEventHandler WHandler(bool (T::*handler)(WObject*, void*)) {
    static_assert(std::is_base_of_v<WObject, T>, "handlers belong to WObject classes");
    return static_cast<WEventHandler>(handler);
}

// One record of a handler table; a table ends with a NullEvent record.
struct WEventMap {
    WEventID id;
    WEventHandler handler;
    WObject* target;
};

// Registers every record of a table for events raised by source. For one
// source and event the handler registered last is called first.
void WRegisterEvents(WObject* source, const WEventMap* table);
void WRegisterEvent(WObject* source, WEventID id, WObject* target, WEventHandler handler);
// Removes the records of a table again (each record once).
void WUnregisterEvents(WObject* source, const WEventMap* table);
void WUnregisterEvent(WObject* source, WEventID id, WObject* target, WEventHandler handler);
// Removes every handler registered for events raised by source.
void WUnregisterAllEvents(WObject* source);

// Calls the handlers of source for id in turn until one returns true; returns
// whether one did. Handlers may register and unregister during the dispatch;
// a handler removed meanwhile is not called.
bool WDispatchEvent(WObject* source, WEventID id, void* eventData = nullptr);

// Number of handlers registered for source and id.
int WEventHandlerCount(WObject* source, WEventID id);

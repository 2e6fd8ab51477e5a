#include "classlib/gui/wevents.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

struct Record {
    WEventID id;
    WEventHandler handler;
    WObject* target;
    std::uint64_t serial;  // identifies the registration during a dispatch
};

// The handlers of each source, kept in order of event id; within one id the
// newest registration comes first.
class Registry {
public:
    void Add(WObject* source, WEventID id, WObject* target, WEventHandler handler) {
        std::vector<Record>& records = bySource_[source];
        auto at = std::lower_bound(records.begin(), records.end(), id,
                                   [](const Record& r, WEventID key) { return r.id < key; });
        records.insert(at, Record{id, handler, target, ++lastSerial_});
    }

    void Remove(WObject* source, WEventID id, WObject* target, WEventHandler handler) {
        auto found = bySource_.find(source);
        if (found == bySource_.end()) {
            return;
        }
        std::vector<Record>& records = found->second;
        auto at = std::find_if(records.begin(), records.end(), [&](const Record& r) {
            return r.id == id && r.target == target && r.handler == handler;
        });
        if (at != records.end()) {
            records.erase(at);
        }
        if (records.empty()) {
            bySource_.erase(found);
        }
    }

    void RemoveAll(WObject* source) { bySource_.erase(source); }

    bool Dispatch(WObject* source, WEventID id, void* data) {
        auto found = bySource_.find(source);
        if (found == bySource_.end()) {
            return false;
        }
        // Snapshot the serials first: a handler may change the registrations.
        // Most events have one or two handlers, so stay off the heap for them.
        std::uint64_t inlineSerials[4];
        std::vector<std::uint64_t> moreSerials;
        std::uint64_t* serials = inlineSerials;
        int count = 0;
        for (const Record& record : found->second) {
            if (record.id != id) {
                continue;
            }
            if (count == 4) {
                moreSerials.assign(inlineSerials, inlineSerials + 4);
            }
            if (count >= 4) {
                moreSerials.push_back(record.serial);
                serials = moreSerials.data();
            } else {
                inlineSerials[count] = record.serial;
            }
            ++count;
        }
        for (int i = 0; i < count; ++i) {
            const Record* record = Find(source, serials[i]);
            if (record == nullptr) {
                continue;
            }
            WObject* target = record->target;
            WEventHandler handler = record->handler;
            if ((target->*handler)(source, data)) {
                return true;
            }
        }
        return false;
    }

    int Count(WObject* source, WEventID id) const {
        auto found = bySource_.find(source);
        if (found == bySource_.end()) {
            return 0;
        }
        return static_cast<int>(std::count_if(found->second.begin(), found->second.end(),
                                              [id](const Record& r) { return r.id == id; }));
    }

private:
    const Record* Find(WObject* source, std::uint64_t serial) const {
        auto found = bySource_.find(source);
        if (found == bySource_.end()) {
            return nullptr;
        }
        for (const Record& record : found->second) {
            if (record.serial == serial) {
                return &record;
            }
        }
        return nullptr;
    }

    std::unordered_map<WObject*, std::vector<Record>> bySource_;
    std::uint64_t lastSerial_ = 0;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void WRegisterEvents(WObject* source, const WEventMap* table) {
    for (; table != nullptr && table->id != NullEvent; ++table) {
        TheRegistry().Add(source, table->id, table->target, table->handler);
    }
}

void WRegisterEvent(WObject* source, WEventID id, WObject* target, WEventHandler handler) {
    TheRegistry().Add(source, id, target, handler);
}

void WUnregisterEvents(WObject* source, const WEventMap* table) {
    for (; table != nullptr && table->id != NullEvent; ++table) {
        TheRegistry().Remove(source, table->id, table->target, table->handler);
    }
}

void WUnregisterEvent(WObject* source, WEventID id, WObject* target, WEventHandler handler) {
    TheRegistry().Remove(source, id, target, handler);
}

void WUnregisterAllEvents(WObject* source) {
    TheRegistry().RemoveAll(source);
}

bool WDispatchEvent(WObject* source, WEventID id, void* eventData) {
    return TheRegistry().Dispatch(source, id, eventData);
}

int WEventHandlerCount(WObject* source, WEventID id) {
    return TheRegistry().Count(source, id);
}

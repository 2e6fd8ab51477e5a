#include "classlib/gui/wevents.h"

#include <QTest>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Records every call in one shared log, so that the order across handlers shows;
// may remove another handler while the dispatch is running.
class Recorder : public WObject {
public:
    Recorder(Log& log, std::string name, bool result = false)
        : log_(log), name_(std::move(name)), result_(result) {}
    WObject* source = nullptr;
    Recorder* victim = nullptr;
    bool Handle(WObject* /*source*/, void* eventData) {
        log_.push_back(name_ + (eventData ? ":" + *static_cast<std::string*>(eventData) : ""));
        if (victim) {
            WUnregisterEvent(source, ClickEvent, victim, WHandler(&Recorder::Handle));
        }
        return result_;
    }

private:
    Log& log_;
    std::string name_;
    bool result_;
};

// Drops its registrations even when a failed comparison leaves the test early.
struct Source : WObject {
    ~Source() override { WUnregisterAllEvents(this); }
};

}  // namespace

class EventsTest : public QObject {
    Q_OBJECT

private slots:
    // The last registered is called first and true ends the dispatch; a handler
    // removed by an earlier one during the dispatch is not called; a table is
    // read up to its NullEvent, and each event reaches its own handlers.
    void orderRemovalDuringTheDispatchAndTables() {
        Log log;
        Source source;
        std::vector<std::unique_ptr<Recorder>> recorders;
        for (int i = 0; i < 5; ++i) {
            recorders.push_back(std::make_unique<Recorder>(log, std::to_string(i), i == 1));
            WRegisterEvent(&source, ClickEvent, recorders.back().get(),
                           WHandler(&Recorder::Handle));
        }
        recorders[4]->source = &source;
        recorders[4]->victim = recorders[3].get();
        std::string data = "d";
        QCOMPARE(WDispatchEvent(&source, ClickEvent, &data), true);
        QCOMPARE(log, (Log{"4:d", "2:d", "1:d"}));
        log.clear();
        WUnregisterEvent(&source, ClickEvent, recorders[1].get(), WHandler(&Recorder::Handle));
        QCOMPARE(WDispatchEvent(&source, ClickEvent), false);
        QCOMPARE(log, (Log{"4", "2", "0"}));
        log.clear();
        const WEventMap table[] = {
            {CloseEvent, WHandler(&Recorder::Handle), recorders[0].get()},
            {NullEvent, nullptr, nullptr},
            {CloseEvent, WHandler(&Recorder::Handle), recorders[2].get()},
        };
        WRegisterEvents(&source, table);
        QCOMPARE(WDispatchEvent(&source, CloseEvent), false);
        QCOMPARE(WDispatchEvent(&source, DestroyEvent), false);
        QCOMPARE(log, Log{"0"});
        WUnregisterEvents(&source, table);
        QCOMPARE(WEventHandlerCount(&source, CloseEvent), 0);
    }
};

QTEST_MAIN(EventsTest)
#include "wevents_test.moc"

#include "classlib/qt/wevents.h"

#include <QTest>
#include <string>
#include <vector>

namespace {

// Records every call in one shared log, so that the order across handlers shows.
class Recorder : public WObject {
public:
    Recorder(std::vector<std::string>& log, std::string name, bool result)
        : log_(log), name_(std::move(name)), result_(result) {}
    bool Handle(WObject* /*source*/, void* eventData) {
        log_.push_back(name_ + (eventData ? ":" + *static_cast<std::string*>(eventData) : ""));
        return result_;
    }

private:
    std::vector<std::string>& log_;
    std::string name_;
    bool result_;
};

// Removes another handler while the dispatch is running.
class Remover : public WObject {
public:
    WObject* source = nullptr;
    Recorder* victim = nullptr;
    bool Handle(WObject* /*source*/, void* /*eventData*/) {
        WUnregisterEvent(source, ClickEvent, victim, WHandler(&Recorder::Handle));
        return false;
    }
};

}  // namespace

class EventsTest : public QObject {
    Q_OBJECT

private slots:
    void eventIdsHaveTheLibraryValues() {
        const int values[] = {NullEvent,       ClickEvent, StartEvent,  RunEvent,    EndEvent,
                              DeleteItemEvent, CloseEvent, CreateEvent, DestroyEvent};
        const int expected[] = {28, 30, 57, 58, 59, 79, 84, 87, 88};
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(values[i], expected[i]);
        }
    }

    void lastRegisteredIsCalledFirstAndTrueEndsTheDispatch() {
        std::vector<std::string> log;
        WObject source;
        Recorder first(log, "first", false);
        Recorder second(log, "second", true);
        Recorder third(log, "third", false);
        WRegisterEvent(&source, ClickEvent, &first, WHandler(&Recorder::Handle));
        WRegisterEvent(&source, ClickEvent, &second, WHandler(&Recorder::Handle));
        WRegisterEvent(&source, ClickEvent, &third, WHandler(&Recorder::Handle));
        std::string data = "d";
        QCOMPARE(WDispatchEvent(&source, ClickEvent, &data), true);
        QCOMPARE(log, (std::vector<std::string>{"third:d", "second:d"}));
        WUnregisterAllEvents(&source);
    }

    void tableIsReadUpToNullEventAndEventsStayApart() {
        std::vector<std::string> log;
        WObject source;
        Recorder create(log, "create", false);
        Recorder close(log, "close", false);
        Recorder never(log, "never", false);
        const WEventMap table[] = {
            {CreateEvent, WHandler(&Recorder::Handle), &create},
            {CloseEvent, WHandler(&Recorder::Handle), &close},
            {NullEvent, nullptr, nullptr},
            {CloseEvent, WHandler(&Recorder::Handle), &never},
        };
        WRegisterEvents(&source, table);
        QCOMPARE(WEventHandlerCount(&source, CloseEvent), 1);
        QCOMPARE(WDispatchEvent(&source, CloseEvent), false);
        QCOMPARE(WDispatchEvent(&source, DestroyEvent), false);
        QCOMPARE(log, (std::vector<std::string>{"close"}));
        WUnregisterEvents(&source, table);
        QCOMPARE(WEventHandlerCount(&source, CreateEvent), 0);
        QCOMPARE(WEventHandlerCount(&source, CloseEvent), 0);
    }

    void handlerRemovedDuringDispatchIsNotCalled() {
        std::vector<std::string> log;
        WObject source;
        Recorder victim(log, "victim", false);
        Remover remover;
        remover.source = &source;
        remover.victim = &victim;
        WRegisterEvent(&source, ClickEvent, &victim, WHandler(&Recorder::Handle));
        WRegisterEvent(&source, ClickEvent, &remover, WHandler(&Remover::Handle));
        QCOMPARE(WDispatchEvent(&source, ClickEvent), false);
        QCOMPARE(log.size(), std::size_t{0});
        WUnregisterAllEvents(&source);
    }

    void manyHandlersKeepTheirOrder() {
        std::vector<std::string> log;
        WObject source;
        std::vector<std::unique_ptr<Recorder>> recorders;
        for (int i = 0; i < 7; ++i) {
            recorders.push_back(std::make_unique<Recorder>(log, std::to_string(i), false));
            WRegisterEvent(&source, RunEvent, recorders.back().get(), WHandler(&Recorder::Handle));
        }
        WDispatchEvent(&source, RunEvent);
        QCOMPARE(log, (std::vector<std::string>{"6", "5", "4", "3", "2", "1", "0"}));
        WUnregisterAllEvents(&source);
    }
};

QTEST_MAIN(EventsTest)
#include "wevents_test.moc"

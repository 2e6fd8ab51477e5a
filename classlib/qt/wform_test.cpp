#include "classlib/gui/wform.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "classlib/gui/wcontrol.h"
#include "classlib/gui/wevents.h"
#include "classlib/gui/wfiledialog.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wmenu.h"
#include "classlib/qt/wqtnative.h"

namespace {

// Logs the events it sees, in order; can end a dialog as soon as it is created.
// Drops its registrations when it goes, even when a failed comparison ends a test early.
class EventLog : public WObject {
public:
    ~EventLog() override {
        for (WObject* source : sources_) {
            WUnregisterAllEvents(source);
        }
    }
    QStringList events;
    WDialog* endAtCreate = nullptr;
    bool OnCreate(WObject*, void*) {
        if (endAtCreate) {
            endAtCreate->EndDialog(7);
        }
        return Log("create");
    }
    bool OnClose(WObject*, void*) { return Log("close"); }
    bool OnDestroy(WObject*, void*) { return Log("destroy"); }
    bool OnClick(WObject*, void*) { return Log("click"); }

    void Watch(WForm& form) {
        sources_ << &form;
        WRegisterEvent(&form, CreateEvent, this, WHandler(&EventLog::OnCreate));
        WRegisterEvent(&form, CloseEvent, this, WHandler(&EventLog::OnClose));
        WRegisterEvent(&form, DestroyEvent, this, WHandler(&EventLog::OnDestroy));
    }
    void WatchClicks(WObject& item) {
        sources_ << &item;
        WRegisterEvent(&item, ClickEvent, this, WHandler(&EventLog::OnClick));
    }

private:
    QList<WObject*> sources_;

    bool Log(const char* name) {
        events << name;
        return false;
    }
};

const QStringList kCreateCloseDestroy{"create", "close", "destroy"};

}  // namespace

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void mulDivRoundsHalvesAwayFromZero_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact") << 8 << 6 << 4 << 12;
        QTest::newRow("half up") << 5 << 6 << 4 << 8;     // 7.5
        QTest::newRow("below half") << 5 << 5 << 4 << 6;  // 6.25
        QTest::newRow("negative half") << -5 << 6 << 4 << -8;
        QTest::newRow("zero divisor") << 1 << 1 << 0 << -1;
    }
    void mulDivRoundsHalvesAwayFromZero() {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, expected);
        QCOMPARE(WMulDiv(a, b, c), expected);
    }

    void fontFallsBackToTheDefaultFace() {
        WFont font;
        QCOMPARE(font.Create("8.No Such Face Anywhere"), true);
        QCOMPARE(font.GetPointSize(), 8);
        QCOMPARE(QtFont(font).family(), QApplication::font().family());
        QCOMPARE(font.GetRequestedFace().Str(), std::string("No Such Face Anywhere"));
        QCOMPARE(font.Create("MS Sans Serif"), false);
        QCOMPARE(font.Create("x.MS Sans Serif"), false);
    }

    void templateIsConvertedThroughTheFontMetricsAndCentred() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "ID_TamskForm"), true);
        const WDialogBaseUnits units = DialogBaseUnitsOf(WFont("8.MS Sans Serif"));
        QCOMPARE(QtSize(form.GetClientSize()),
                 QSize(WMulDiv(259, units.averageWidth, 4), WMulDiv(247, units.height, 8)));
        QWidget* tree = QtWidget(form.GetDialogItem(102));
        QVERIFY(tree != nullptr);
        QCOMPARE(tree->geometry(), QtRect(units.ToPixels(5, 10, 250, 180)));
        QCOMPARE(QtWidget(form.GetDialogItem(999)), static_cast<QWidget*>(nullptr));
        WModelessDialog missing;
        QCOMPARE(missing.Create(nullptr, "ID_NoSuchForm"), false);
        form.CenterWindow();
        const QRect area = QtWidget(form)->screen()->availableGeometry();
        const QRect frame = QtWidget(form)->frameGeometry();
        QVERIFY(qAbs((frame.left() - area.left()) - (area.right() - frame.right())) <= 1);
        QVERIFY(qAbs((frame.top() - area.top()) - (area.bottom() - frame.bottom())) <= 1);
    }

    void resizeCarriesTheRemainderPerEdge() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "ID_WPJCopy"), true);
        WCommandButton copy;
        QCOMPARE(copy.Attach(&form, 105), true);
        copy.SetResizePercentages(50, 100, 0, 0);
        form.Show();
        QVERIFY(QTest::qWaitForWindowExposed(QtWidget(form)));
        const QRect start = QtRect(copy.GetRectangle());
        const QSize window = QtWidget(form)->size();
        // Seven steps of one pixel: 50% of each is lost without the carry.
        for (int step = 1; step <= 7; ++step) {
            QtWidget(form)->resize(window.width() + step, window.height() + 2 * step);
            QTRY_COMPARE(QtWidget(form)->width(), window.width() + step);
        }
        QCOMPARE(QtRect(copy.GetRectangle()), start.translated(3, 14));  // 350 / 100, remainder 50
        QtWidget(form)->resize(window.width() + 8, window.height() + 16);
        QTRY_COMPARE(copy.GetRectangle().x, start.x() + 4);
    }

    void closingSendsCreateCloseDestroyModelessAndModal() {
        WModelessDialog form;
        EventLog formLog;
        formLog.Watch(form);
        QCOMPARE(form.Create(nullptr, "ID_TamskForm"), true);
        form.Show();
        QtWidget(form)->close();
        QCOMPARE(formLog.events, kCreateCloseDestroy);
        QCOMPARE(form.HasWindow(), false);

        // A modal dialog's creation returns only once it is closed.
        WDialog dialog;
        EventLog dialogLog;
        dialogLog.Watch(dialog);
        QTimer::singleShot(0, this, [&]() {
            QVERIFY(dialog.IsModalRunning());
            QCOMPARE(QApplication::activeModalWidget(), QtWidget(dialog));
            QtWidget(dialog)->close();
        });
        QCOMPARE(dialog.Create(nullptr, "ID_WPJCopy"), true);
        QCOMPARE(dialogLog.events, kCreateCloseDestroy);
        QCOMPARE(dialog.HasWindow(), false);
        QCOMPARE(dialog.GetModalResult(), 0);
    }

    void dialogEndedDuringCreationDoesNotRun() {
        WDialog dialog;
        EventLog log;
        log.endAtCreate = &dialog;
        log.Watch(dialog);
        QCOMPARE(dialog.Create(nullptr, "ID_WPJCopy"), true);
        QCOMPARE(dialog.GetModalResult(), 7);
        QCOMPARE(dialog.HasWindow(), false);
    }

    // States, checks, texts and commands of the items are driven through the main window.
    void menuIsLoadedFromItsTemplate() {
        WMenu menu;
        QCOMPARE(menu.LoadMenu("ID_NoSuchMenu"), false);
        QCOMPARE(menu.LoadMenu("ID_TamskForm_menu_1"), true);
        QCOMPARE(QtMenu(*menu.GetPopup(0))->title(), QString("&File"));
        WMenuItem* parse = menu.FindItem(1004);
        QVERIFY(parse != nullptr);
        // A disabled item does not fire.
        EventLog log;
        log.WatchClicks(*parse);
        parse->DisableAndGray();
        QtAction(*parse)->trigger();
        QCOMPARE(log.events, QStringList());
        QCOMPARE(parse->IsGrayed(), true);
    }

    // The answers and the start folder are driven through the main window.
    void fileDialogFilterEndsAtTheEmptyPair() {
        WFileDialog dialog;
        dialog.SetFilter({{"Watcom project file(*.wpj)", "*.wpj"}, {"", ""}, {"x", "*.x"}});
        QCOMPARE(dialog.GetFilter().size(), std::size_t{1});
    }

    // The toolkit's dialog, really shown, leaves no settings file of its own.
    void fileDialogWritesNoSettings() {
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
        WFileDialog dialog;
        dialog.SetInitialPath(home.path().toStdString());
        QTimer::singleShot(0, this, []() { QApplication::activeModalWidget()->close(); });
        QCOMPARE(dialog.ShowModal(), false);
        QCOMPARE(
            QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
    }

    // A dialog's template position is taken from its owner's client area.
    void dialogIsPlacedRelativeToItsOwner() {
        WModelessDialog owner;
        QCOMPARE(owner.Create(nullptr, "ID_TamskForm"), true);
        owner.Show();
        QVERIFY(QTest::qWaitForWindowExposed(QtWidget(owner)));
        int x[2] = {0, 0};
        for (int shift : {0, 1}) {
            QtWidget(owner)->move(300 + 50 * shift, 0);
            QTRY_COMPARE(QtWidget(owner)->x(), 300 + 50 * shift);
            WModelessDialog dialog;
            QCOMPARE(dialog.Create(&owner, "ID_WPJCopy"), true);
            x[shift] = QtWidget(dialog)->x();
        }
        QCOMPARE(x[1] - x[0], 50);
    }
};

QTEST_MAIN(FormTest)
#include "wform_test.moc"

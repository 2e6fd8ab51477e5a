#include "classlib/qt/wform.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "classlib/qt/wcontrol.h"
#include "classlib/qt/wevents.h"
#include "classlib/qt/wfiledialog.h"
#include "classlib/qt/wfont.h"
#include "classlib/qt/wmenu.h"

namespace {

// Logs the form events it sees, in order.
class FormLog : public WObject {
public:
    QStringList events;
    bool OnCreate(WObject*, void*) { return Log("create"); }
    bool OnClose(WObject*, void*) { return Log("close"); }
    bool OnDestroy(WObject*, void*) { return Log("destroy"); }
    bool OnClick(WObject*, void*) { return Log("click"); }

private:
    bool Log(const char* name) {
        events << name;
        return false;
    }
};

class EndsAtCreate : public WObject {
public:
    explicit EndsAtCreate(WDialog& dialog) : dialog_(dialog) {}
    bool OnCreate(WObject*, void*) {
        dialog_.EndDialog(7);
        return false;
    }

private:
    WDialog& dialog_;
};

void Watch(WForm& form, FormLog& log) {
    WRegisterEvent(&form, CreateEvent, &log, WHandler(&FormLog::OnCreate));
    WRegisterEvent(&form, CloseEvent, &log, WHandler(&FormLog::OnClose));
    WRegisterEvent(&form, DestroyEvent, &log, WHandler(&FormLog::OnDestroy));
}

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
        QTest::newRow("template x") << -156 << 6 << 4 << -234;
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
        QCOMPARE(font.GetQFont().family(), QApplication::font().family());
        QCOMPARE(font.GetRequestedFace().Str(), std::string("No Such Face Anywhere"));
        QCOMPARE(font.Create("MS Sans Serif"), false);
        QCOMPARE(font.Create("x.MS Sans Serif"), false);
    }

    void templateSizeIsConvertedThroughTheFontMetrics() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "ID_TamskForm"), true);
        const WDialogBaseUnits units = DialogBaseUnitsOf(form.GetWidget()->font());
        QCOMPARE(form.GetClientSize(),
                 QSize(WMulDiv(259, units.averageWidth, 4), WMulDiv(247, units.height, 8)));
        QWidget* tree = form.GetDialogItem(102);
        QVERIFY(tree != nullptr);
        QCOMPARE(tree->geometry(), units.ToPixels(5, 10, 250, 180));
        QCOMPARE(form.GetDialogItem(999), static_cast<QWidget*>(nullptr));
    }

    void missingTemplateOrRefusedWindowFails() {
        WModelessDialog missing;
        QCOMPARE(missing.Create(nullptr, "ID_NoSuchForm"), false);
        WForm::RefuseWindowCreationForTesting(true);
        WModelessDialog refused;
        const bool created = refused.Create(nullptr, "ID_TamskForm");
        WForm::RefuseWindowCreationForTesting(false);
        QCOMPARE(created, false);
        QCOMPARE(refused.HasWindow(), false);
    }

    void resizeCarriesTheRemainderPerEdge() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "ID_WPJCopy"), true);
        WCommandButton copy;
        QCOMPARE(copy.Attach(&form, 105), true);
        copy.SetResizePercentages(50, 100, 0, 0);
        form.Show();
        QVERIFY(QTest::qWaitForWindowExposed(form.GetWidget()));
        const QRect start = copy.GetRectangle();
        const QSize window = form.GetWidget()->size();
        // Seven steps of one pixel: 50% of each is lost without the carry.
        for (int step = 1; step <= 7; ++step) {
            form.GetWidget()->resize(window.width() + step, window.height() + 2 * step);
            QTRY_COMPARE(form.GetWidget()->width(), window.width() + step);
        }
        QCOMPARE(copy.GetRectangle().x(), start.x() + 3);  // 350 / 100, remainder 50
        QCOMPARE(copy.GetRectangle().y(), start.y() + 14);
        QCOMPARE(copy.GetRectangle().size(), start.size());
        form.GetWidget()->resize(window.width() + 8, window.height() + 16);
        QTRY_COMPARE(copy.GetRectangle().x(), start.x() + 4);
    }

    void minimumTrackingSizeRefusesSmallerSizes() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "ID_TamskForm"), true);
        const QSize outer = form.GetOuterSize();
        form.SetMinimumTrackingSize(outer.width(), outer.height());
        form.Show();
        form.GetWidget()->resize(outer.width() - 50, outer.height() - 50);
        QCOMPARE(form.GetWidget()->size(), outer);
    }

    void centredOnTheAvailableArea() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "ID_TamskForm"), true);
        form.CenterWindow();
        const QRect area = form.GetWidget()->screen()->availableGeometry();
        const QSize size = form.GetWidget()->frameGeometry().size();
        const int x = qMax(0, qMin(area.x() + (area.width() - size.width()) / 2,
                                   area.x() + area.width() - size.width()));
        QCOMPARE(form.GetWidget()->pos().x(), x);
    }

    void closeRequestWithoutHandlerDestroysTheWindow() {
        WModelessDialog form;
        FormLog log;
        Watch(form, log);
        QCOMPARE(form.Create(nullptr, "ID_TamskForm"), true);
        form.Show();
        form.GetWidget()->close();
        QCOMPARE(log.events, (QStringList{"create", "close", "destroy"}));
        QCOMPARE(form.HasWindow(), false);
        WUnregisterAllEvents(&form);
    }

    void modalDialogReturnsWhenClosed() {
        WDialog dialog;
        FormLog log;
        Watch(dialog, log);
        QWidget owner;
        QTimer::singleShot(0, this, [&]() {
            QVERIFY(dialog.IsModalRunning());
            QCOMPARE(owner.isEnabled() && QApplication::activeModalWidget() == dialog.GetWidget(),
                     true);
            dialog.GetWidget()->close();
        });
        QCOMPARE(dialog.Create(nullptr, "ID_WPJCopy"), true);
        QCOMPARE(log.events, (QStringList{"create", "close", "destroy"}));
        QCOMPARE(dialog.HasWindow(), false);
        QCOMPARE(dialog.GetModalResult(), 0);
        WUnregisterAllEvents(&dialog);
    }

    void dialogEndedDuringCreationDoesNotRun() {
        WDialog dialog;
        EndsAtCreate ender(dialog);
        WRegisterEvent(&dialog, CreateEvent, &ender, WHandler(&EndsAtCreate::OnCreate));
        QCOMPARE(dialog.Create(nullptr, "ID_WPJCopy"), true);
        QCOMPARE(dialog.GetModalResult(), 7);
        QCOMPARE(dialog.HasWindow(), false);
        WUnregisterAllEvents(&dialog);
    }

    void menuItemsAreFoundEnabledAndChecked() {
        WMenu menu;
        QCOMPARE(menu.LoadMenu("ID_NoSuchMenu"), false);
        QCOMPARE(menu.LoadMenu("ID_TamskForm_menu_1"), true);
        WMenu* file = menu.GetPopup(0);
        QVERIFY(file != nullptr);
        QCOMPARE(file->GetQMenu()->title(), QString("&File"));
        QCOMPARE(file->GetCount(), 7);
        QCOMPARE(menu.GetPopup(1), static_cast<WMenu*>(nullptr));
        WMenuItem* exportItem = menu.FindItem(1002);
        QVERIFY(exportItem != nullptr);
        QCOMPARE(exportItem->IsGrayed(), true);
        exportItem->Enable();
        QCOMPARE(exportItem->IsEnabled(), true);
        QCOMPARE(menu.FindItem(1003), static_cast<WMenuItem*>(nullptr));
        WMenuItem* parse = menu.FindItem(1004);
        QCOMPARE(parse->GetText().Str(),
                 std::string("&Parse project files for filenames in string literals"));
        QCOMPARE(parse->GetCheck(), false);
        parse->SetCheck(true);
        // Choosing the item leaves the check mark to the command.
        FormLog log;
        WRegisterEvent(parse, ClickEvent, &log, WHandler(&FormLog::OnClick));
        parse->GetAction()->trigger();
        QCOMPARE(log.events, (QStringList{"click"}));
        QCOMPARE(parse->GetCheck(), true);
        // A disabled item does not fire.
        parse->DisableAndGray();
        parse->GetAction()->trigger();
        QCOMPARE(log.events.size(), 1);
    }

    void fileDialogTakesTheNextAnswer() {
        WFileDialog dialog;
        dialog.SetFilter({{"Watcom project file(*.wpj)", "*.wpj"}, {"", ""}, {"x", "*.x"}});
        QCOMPARE(dialog.GetFilter().size(), std::size_t{1});
        WFileDialog::SetNextAnswer(std::string("/p/demo.wpj"));
        WFileDialog::SetNextAnswer(std::nullopt);
        QCOMPARE(dialog.ShowModal(), true);
        QCOMPARE(dialog.GetFileName(0).Str(), std::string("/p/demo.wpj"));
        QCOMPARE(dialog.ShowModal(), false);
        QCOMPARE(dialog.GetFileCount(), 1);
        QCOMPARE(dialog.GetFileName(0).Str(), std::string());
        QCOMPARE(WFileDialog::PendingAnswers(), 0);
    }
};

QTEST_MAIN(FormTest)
#include "wform_test.moc"

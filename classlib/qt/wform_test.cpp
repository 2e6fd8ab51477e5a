#include "classlib/gui/wform.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "classlib/gui/wcontrol.h"
#include "classlib/gui/wfiledialog.h"
#include "classlib/gui/wfont.h"
#include "classlib/gui/wresources.h"
#include "classlib/qt/wqtnative.h"

namespace {

// The library's own form: a sizable frame with a tree and a button.
const DialogTemplate kTestForm{
    "Test_Form",
    StyleVisible | StyleCaption | StyleSystemMenu | StyleSizingBorder | StyleSetFont,
    0,
    0,
    259,
    247,
    8,
    "MS Sans Serif",
    "",
    {
        {102, kTreeViewClass, "", 5, 10, 250, 180, StyleChild | StyleVisible | StyleHasButtons},
        {105, kButtonClass, "Copy", 113, 200, 62, 13, StyleChild | StyleVisible | StylePushButton},
    }};

}  // namespace

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterDialogTemplate(kTestForm); }

    void mulDivRoundsHalvesAwayFromZero() {
        const struct {
            int a, b, c, expected;
        } cases[] = {
            {8, 6, 4, 12},   // exact
            {5, 6, 4, 8},    // 7.5, half up
            {5, 5, 4, 6},    // 6.25
            {-5, 6, 4, -8},  // -7.5, away from zero
            {1, 1, 0, -1},   // zero divisor
        };
        for (const auto& c : cases) {
            QCOMPARE(WMulDiv(c.a, c.b, c.c), c.expected);
        }
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
        QCOMPARE(form.Create(nullptr, "Test_Form"), true);
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

    // The line shows long paths shortened in their middle as far as its width
    // needs, so that the reason after them shows, and the whole message where
    // it fits; its tooltip and GetStatusText keep the whole text.
    void statusLineFitsItsWidth() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "Test_Form"), true);
        form.Show();
        QWidget* window = QtWidget(form);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const std::string path =
            "/home/someone/a/rather/long/folder/of/projects/shapes/shapes_dep.Txt";
        const std::string message = "cannot replace " + path + ": Permission denied";
        const QString whole = QString::fromStdString(message);
        auto* line = window->findChild<QLabel*>(QStringLiteral("statusLine"));
        QVERIFY(line != nullptr);
        window->resize(320, window->height());
        QTRY_COMPARE(window->width(), 320);
        form.SetStatusText(message);
        QVERIFY2(
            line->text().startsWith("cannot replace /home/") &&
                line->text().contains(QChar(0x2026)) &&
                line->text().endsWith("_dep.Txt: Permission denied") &&
                line->fontMetrics().horizontalAdvance(line->text()) <= line->contentsRect().width(),
            qPrintable(line->text()));
        window->resize(line->fontMetrics().horizontalAdvance(whole) + 40, window->height());
        QTRY_COMPARE(line->text(), whole);
        QCOMPARE(line->toolTip(), whole);
        QCOMPARE(form.GetStatusText().Str(), message);
    }

    void resizeCarriesTheRemainderPerEdge() {
        WModelessDialog form;
        QCOMPARE(form.Create(nullptr, "Test_Form"), true);
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
};

QTEST_MAIN(FormTest)
#include "wform_test.moc"

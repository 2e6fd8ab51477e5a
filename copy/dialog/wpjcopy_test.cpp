#include "copy/dialog/wpjcopy.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "classlib/gui/wtreeview.h"
#include "classlib/qt/wqtnative.h"

namespace {

// The dialog with its generated controls in reach of the checks.
class ProbedCopy : public WPJCopy {
public:
    QWidget* Item(int id) const { return QtWidget(GetDialogItem(id)); }
    QPushButton* Browse() const { return qobject_cast<QPushButton*>(Item(103)); }
    QPushButton* Copy() const { return qobject_cast<QPushButton*>(Item(105)); }
};

// The next window of the focus chain that is not part of widget itself (the
// list view's viewport and header follow the list in the chain).
QWidget* NextInTabOrder(QWidget* widget) {
    QWidget* next = widget->nextInFocusChain();
    while (next != nullptr && widget->isAncestorOf(next)) {
        next = next->nextInFocusChain();
    }
    return next;
}

// Runs the dialog modally as the menu command does; the script runs inside
// the modal loop, and the dialog is then closed as by its close box.
void RunModal(ProbedCopy& dialog, const std::function<void()>& script) {
    QTimer::singleShot(0, [&] {
        script();
        dialog.PostClose();
    });
    QCOMPARE(dialog.Create(nullptr, "ID_WPJCopy"), true);
    QCOMPARE(dialog.HasWindow(), false);
}

}  // namespace

class WPJCopyTest : public QObject {
    Q_OBJECT

private slots:
    // Tab order, no default button, and the resize percentages, in the widgets.
    void tabOrderAndResizeFollowTheTemplate() {
        WTreeView tree;
        ProbedCopy dialog;
        dialog.SetProjectTree(&tree);
        RunModal(dialog, [&] {
            QWidget* window = QtWidget(dialog);
            QVERIFY(QTest::qWaitForWindowExposed(window));
            for (int id = 101; id < 105; ++id) {
                QCOMPARE(NextInTabOrder(dialog.Item(id)), dialog.Item(id + 1));
            }
            QCOMPARE(dialog.Browse()->isDefault() || dialog.Copy()->isDefault(), false);
            QRect before[6];
            for (int id = 101; id <= 105; ++id) {
                before[id - 100] = dialog.Item(id)->geometry();
            }
            window->resize(window->width() + 40, window->height() + 30);
            QTRY_COMPARE(dialog.Item(104)->height(), before[4].height() + 30);
            QCOMPARE(dialog.Item(101)->geometry(), before[1].adjusted(0, 0, 40, 0));
            QCOMPARE(dialog.Item(102)->geometry(), before[2]);
            QCOMPARE(dialog.Item(103)->geometry(), before[3].translated(40, 0));
            QCOMPARE(dialog.Item(104)->geometry(), before[4].adjusted(0, 0, 40, 30));
            QCOMPARE(dialog.Item(105)->geometry(), before[5].translated(20, 30));
        });
    }
};

QTEST_MAIN(WPJCopyTest)
#include "wpjcopy_test.moc"

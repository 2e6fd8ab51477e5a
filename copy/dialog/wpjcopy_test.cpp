#include "copy/dialog/wpjcopy.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "classlib/gui/wfolderbrowser.h"
#include "classlib/gui/wtreeview.h"
#include "classlib/qt/wqtnative.h"
#include "resources/programresources.h"
#include "tests/support/tempdir.h"

namespace {

// The dialog with its generated controls in reach of the checks.
class ProbedCopy : public WPJCopy {
public:
    using __WPJCopy_Base::lv_1;

    QWidget* Item(int id) const { return QtWidget(GetDialogItem(id)); }
    QLineEdit* Box() const { return qobject_cast<QLineEdit*>(Item(101)); }
    QPushButton* Browse() const { return qobject_cast<QPushButton*>(Item(103)); }
    QTreeView* List() const { return qobject_cast<QTreeView*>(Item(104)); }
    QPushButton* Copy() const { return qobject_cast<QPushButton*>(Item(105)); }
};

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
    void initTestCase() { RegisterProgramResources(); }
    void init() { WFolderBrowser::ClearAnswers(); }
    void cleanup() { WFolderBrowser::ClearAnswers(); }

    // The keyboard alone: the box has the focus at open and Alt+D brings it
    // back; Enter and Space press the focused button, none is the default. Then
    // every cell fits its column as the list draws it, "copied" and "failed"
    // included.
    void keyboardAloneAndColumnsThatFit() {
        TempDir temp;
        WTreeView tree;
        ProbedCopy dialog;
        dialog.SetProjectTree(&tree);
        WFolderBrowser::SetNextAnswer(temp.Join("out"));
        RunModal(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(QtWidget(dialog)));
            QTRY_COMPARE(QApplication::focusWidget(), dialog.Box());
            QCOMPARE(dialog.Browse()->isDefault() || dialog.Copy()->isDefault(), false);
            dialog.Browse()->setFocus();
            QTest::keyClick(dialog.Browse(), Qt::Key_D, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), dialog.Box());
            QCOMPARE(WFolderBrowser::PendingAnswers(), 1);
            dialog.Browse()->setFocus();
            QTest::keyClick(dialog.Browse(), Qt::Key_Return);
            QCOMPARE(dialog.Box()->text(), QString::fromStdString(temp.Join("out")));
            dialog.Copy()->setFocus();
            QTest::keyClick(dialog.Copy(), Qt::Key_Space);
            QCOMPARE(dialog.Copy()->isEnabled(), false);
            WListStore& list = dialog.lv_1->Store();
            for (const char* result : {"copied", "failed"}) {
                const int row = list.AppendRow("src\\main.c");
                list.SetCell(row, 1, temp.Join("out/src"));
                list.SetCell(row, 2, result);
            }
            for (int column = 0; column < 3; ++column) {
                list.SetColumnWidth(column, WListStore::kFitCellsAndHeader);
                QVERIFY(dialog.List()->columnWidth(column) >=
                        static_cast<QAbstractItemView*>(dialog.List())->sizeHintForColumn(column));
            }
        });
    }
};

QTEST_MAIN(WPJCopyTest)
#include "wpjcopy_test.moc"

#include "copy/dialog/wpjcopy.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <memory>

#include "classlib/qt/wtreeview.h"
#include "copy/dialog/wfolderbrowser.h"
#include "project/projecttree.h"
#include "tests/support/tempdir.h"

namespace {

// The dialog with its generated controls in reach of the checks.
class ProbedCopy : public WPJCopy {
public:
    using __WPJCopy_Base::cb_1;
    using __WPJCopy_Base::cb_2;
    using __WPJCopy_Base::label_1;
    using __WPJCopy_Base::lv_1;
    using __WPJCopy_Base::textb_1;

    QLineEdit* Box() const { return qobject_cast<QLineEdit*>(GetDialogItem(101)); }
    QPushButton* Browse() const { return qobject_cast<QPushButton*>(GetDialogItem(103)); }
    QTreeView* List() const { return qobject_cast<QTreeView*>(GetDialogItem(104)); }
    QPushButton* Copy() const { return qobject_cast<QPushButton*>(GetDialogItem(105)); }
    int Rows() const { return List()->model()->rowCount(); }
    QString Cell(int row, int column) const {
        return List()->model()->index(row, column).data().toString();
    }
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

// A loaded project as the tree holds it: p/demo.wpj with src\main.c listed;
// returns its extension node.
WTreeItem FillProject(WTreeView& view, const TempDir& temp) {
    temp.Write("p/demo.wpj", "wpj");
    temp.Write("p/src/main.c", "main");
    WTreeStore& tree = view.Store();
    const WTreeItem project =
        tree.Add("Project: demo [demo.wpj]", kNoItem, ProjectImage, ProjectImage,
                 WTreePosition::Last(), std::make_unique<WString>(temp.Join("p") + "/"));
    const WTreeItem target = tree.Add("Target: demo  DOS .exe file [demo.wpj]", project, GroupImage,
                                      GroupImage, WTreePosition::Last());
    const WTreeItem filelist =
        tree.Add(FilelistText().View(), target, GroupImage, GroupImage, WTreePosition::Last());
    const WTreeItem extension =
        tree.Add("C", filelist, GroupImage, GroupImage, WTreePosition::Sorted());
    tree.Add("src\\main.c", extension, FileImage, FileImage, WTreePosition::Sorted());
    return extension;
}

}  // namespace

class WPJCopyTest : public QObject {
    Q_OBJECT

private slots:
    void init() { WFolderBrowser::ClearAnswers(); }
    void cleanup() { WFolderBrowser::ClearAnswers(); }

    // The keyboard alone: the box has the focus at open and Alt+D brings it
    // back; Enter and Space press the focused button; Tab goes textb_1,
    // label_1, cb_1, lv_1, cb_2. Each opening starts with an empty box and list.
    void keyboardAlone() {
        TempDir temp;
        WTreeView tree;
        FillProject(tree, temp);
        ProbedCopy dialog;
        dialog.SetProjectTree(&tree);
        WFolderBrowser::SetNextAnswer(temp.Join("out"));
        RunModal(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(dialog.GetWidget()));
            QTRY_COMPARE(QApplication::focusWidget(), dialog.Box());
            for (int id = 101; id < 105; ++id) {
                QCOMPARE(NextInTabOrder(dialog.GetDialogItem(id)), dialog.GetDialogItem(id + 1));
            }
            dialog.Browse()->setFocus();
            QTest::keyClick(dialog.Browse(), Qt::Key_D, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), dialog.Box());
            QCOMPARE(WFolderBrowser::PendingAnswers(), 1);
            dialog.Browse()->setFocus();
            QTest::keyClick(dialog.Browse(), Qt::Key_Return);
            QCOMPARE(dialog.Box()->text(), QString::fromStdString(temp.Join("out")));
            dialog.Copy()->setFocus();
            QTest::keyClick(dialog.Copy(), Qt::Key_Space);
            QCOMPARE(dialog.Rows(), 3);
        });
        // A second opening starts afresh.
        ProbedCopy second;
        second.SetProjectTree(&tree);
        RunModal(second, [&] {
            QCOMPARE(second.Box()->text() + QString::number(second.Rows()), QString("0"));
            QCOMPARE(second.Copy()->isEnabled(), false);
        });
    }

    // Copy is enabled only by a successful Browse; after a run, even one with
    // no project to copy, both buttons stay disabled.
    void stateTableWithAScriptedBrowse() {
        TempDir temp;
        WTreeView tree;
        ProbedCopy dialog;
        dialog.SetProjectTree(&tree);
        RunModal(dialog, [&] {
            QTest::keyClicks(dialog.Box(), "typed");
            QCOMPARE(dialog.Copy()->isEnabled(), false);
            WFolderBrowser::SetNextAnswer(std::nullopt);
            QTest::mouseClick(dialog.Browse(), Qt::LeftButton);
            QCOMPARE(QString::fromStdString(WFolderBrowser::LastTitle()),
                     QString("Select Destination Folder"));
            QCOMPARE(QString::fromStdString(WFolderBrowser::LastInitialFolder()), QString("typed"));
            QCOMPARE(dialog.Box()->text(), QString("typed"));
            QCOMPARE(dialog.Copy()->isEnabled(), false);
            WFolderBrowser::SetNextAnswer(temp.path());
            QTest::mouseClick(dialog.Browse(), Qt::LeftButton);
            QCOMPARE(dialog.Box()->text(), QString::fromStdString(temp.path()));
            QCOMPARE(dialog.Copy()->isEnabled(), true);
            // A second Browse opens on the chosen folder; cancelling keeps the state.
            WFolderBrowser::SetNextAnswer(std::nullopt);
            QTest::mouseClick(dialog.Browse(), Qt::LeftButton);
            QCOMPARE(QString::fromStdString(WFolderBrowser::LastInitialFolder()),
                     QString::fromStdString(temp.path()));
            QCOMPARE(dialog.Copy()->isEnabled(), true);
            QCOMPARE(WFolderBrowser::PendingAnswers(), 0);
            QTest::mouseClick(dialog.Copy(), Qt::LeftButton);
            QCOMPARE(dialog.Rows(), 0);
            QCOMPARE(dialog.GetText().Str(), std::string("Copy"));
            QCOMPARE(dialog.GetStatusText().Str(),
                     std::string("Nothing copied: no project is loaded."));
            QCOMPARE(dialog.Browse()->isEnabled(), false);
            QCOMPARE(dialog.Copy()->isEnabled(), false);
        });
    }

    void copyGoesToTheEditedFolder() {
        TempDir temp;
        WTreeView tree;
        tree.AddItem("src\\gone.c", FillProject(tree, temp), FileImage, FileImage,
                     WTreePosition::Sorted());
        ProbedCopy dialog;
        dialog.SetProjectTree(&tree);
        WFolderBrowser::SetNextAnswer(temp.Join("chosen"));
        const QString edited = QString::fromStdString(temp.Join("edited"));
        RunModal(dialog, [&] {
            QCOMPARE(dialog.GetText().Str(), std::string("CopyProject: demo [demo.wpj]"));
            QTest::mouseClick(dialog.Browse(), Qt::LeftButton);
            dialog.Box()->setText(edited);
            QTest::mouseClick(dialog.Copy(), Qt::LeftButton);
            QCOMPARE(dialog.Rows(), 4);
            const QString row[] = {"src\\main.c", edited + "/src", "copied"};
            for (int column = 0; column < 3; ++column) {
                QCOMPARE(dialog.Cell(3, column), row[column]);
            }
            QCOMPARE(dialog.Cell(2, 2), QString("failed"));
            QCOMPARE(dialog.GetStatusText().Str(), std::string("3 copied, 1 failed"));
            // Every cell fits its column as the list draws it.
            for (int column = 0; column < 3; ++column) {
                QVERIFY2(
                    dialog.List()->columnWidth(column) >=
                        static_cast<QAbstractItemView*>(dialog.List())->sizeHintForColumn(column),
                    qPrintable(dialog.Cell(3, column)));
            }
        });
        QCOMPARE(QString::fromStdString(ReadWhole(temp.Join("edited/src/main.c"))),
                 QString("main"));
        QCOMPARE(QString::fromStdString(ReadWhole(temp.Join("chosen/demo.wpj"))),
                 QString("<missing>"));
    }
};

QTEST_MAIN(WPJCopyTest)
#include "wpjcopy_test.moc"

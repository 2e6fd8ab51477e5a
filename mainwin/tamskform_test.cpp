#include "mainwin/tamskform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "classlib/gui/wtextprompt.h"
#include "classlib/qt/wqtnative.h"
#include "mainwin/mainform.h"
#include "resources/programresources.h"

namespace {

// Chooses a menu command as the user does; a missing or disabled item fails the test.
void Choose(int id) {
    WMenuItem* item = mainForm && mainForm->fileMenu ? mainForm->fileMenu->FindItem(id) : nullptr;
    QAction* action = item ? QtAction(*item) : nullptr;
    QVERIFY2(action && action->isEnabled(), qPrintable(QString("item %1 not usable").arg(id)));
    action->trigger();
}

QRect ClientArea() {
    return QRect(QPoint(0, 0), QtSize(mainForm->GetClientSize()));
}

}  // namespace

class TamskFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousFolder_;

    void Start() {
        QVERIFY(CreateMainForm() != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(QtWidget(*mainForm)));
    }

    void LoadExample() {
        WFileDialog::SetNextAnswer(qEnvironmentVariable("TAMSK_EXAMPLES").toStdString() +
                                   "/shapes/shapes.wpj");
        Choose(TamskForm::LoadId);
    }

private slots:
    void initTestCase() { RegisterProgramResources(); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        WFileDialog::ClearAnswers();
        WTextPrompt::ClearAnswers();
        WMessageLoop::ResetForTesting();
    }

    void cleanup() {
        DestroyMainForm();
        QCOMPARE(WFileDialog::PendingAnswers(), 0);
        WFileDialog::ClearAnswers();
        QDir::setCurrent(previousFolder_);
        dir_.reset();
    }

    void theTreeFillsTheClientArea() {
        Start();
        QWidget* window = QtWidget(*mainForm);
        const QSize start = window->size();
        QCOMPARE(window->windowIcon().isNull(), false);
        QCOMPARE(QtTreeView(*mainForm->tv_1)->geometry(), ClientArea());
        window->resize(start.width() + 75, start.height() + 25);
        QTRY_COMPARE(window->size(), QSize(start.width() + 75, start.height() + 25));
        QCOMPARE(QtTreeView(*mainForm->tv_1)->geometry(), ClientArea());
        // A status line takes its room from the tree, which still fills the rest.
        mainForm->SetStatusText("note");
        QCOMPARE(QtTreeView(*mainForm->tv_1)->geometry(), ClientArea());
    }

    // The dialog's template position is relative to its owner's client area,
    // and the dialog is kept wholly on the screen (the template alone would put
    // it left of an owner at the screen's edge).
    void copyCommandRunsTheDialogModallyOverTheForm() {
        Start();
        LoadExample();
        QWidget* window = QtWidget(*mainForm);
        QStringList captions;
        QList<QRect> placed;
        bool onScreen = true;
        for (const int x : {0, 300, 350}) {
            window->move(x, 0);
            QTRY_COMPARE(window->x(), x);
            // Read, then closed before any check: a failed check must not leave it running.
            QTimer::singleShot(0, this, [&]() {
                QWidget* dialog = QApplication::activeModalWidget();
                if (dialog != nullptr && dialog != window) {
                    captions << dialog->windowTitle();
                    placed << dialog->frameGeometry();
                    onScreen = onScreen && dialog->screen()->availableGeometry().contains(
                                               dialog->frameGeometry());
                    dialog->close();
                }
            });
            Choose(TamskForm::CopyId);
        }
        QTRY_COMPARE(QApplication::activeWindow(), window);  // the keyboard is back on the form
        QCOMPARE(captions, QStringList(3, "CopyProject: shapes [shapes.wpj]"));
        QVERIFY(onScreen);
        QCOMPARE(placed[2].x() - placed[1].x(), 50);
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
    }

    // Where no window can be opened the program says so in one line and ends with -1.
    void noDisplayEndsWithOneLine() {
        QProcess tamsk;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        tamsk.setProcessEnvironment(environment);
        tamsk.start(qEnvironmentVariable("TAMSK_GUI"), {});
        QVERIFY(tamsk.waitForFinished(20000));
        QCOMPARE(tamsk.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tamsk.exitCode(), 255);
        const QStringList said =
            QString::fromUtf8(tamsk.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(said.filter("no display").size() * 10 + said.size(), 11);
    }

    // The keyboard alone: after a load the tree has the focus; '*' expands the
    // whole subtree; Ctrl+F finds in collapsed parts too, F3 and Shift+F3 step
    // through the hits, wrapping. A drop reaches the form as DropFilesEvent.
    void keyboardExpandsAndFinds() {
        Start();
        LoadExample();
        QWidget* window = QtWidget(*mainForm);
        QVERIFY(QTest::qWaitForWindowActive(window));  // shown, it takes the keyboard itself
        WTreeView& tree = *mainForm->tv_1;
        const WTreeStore& store = tree.Store();
        QTRY_COMPARE(QApplication::focusWidget(), QtWidget(tree));
        QTest::keyClick(QtWidget(tree), Qt::Key_Asterisk);
        QCOMPARE(store.FindDescendant(
                     store.FirstRoot(),
                     [&](WTreeItem at) { return store.HasChildren(at) && !tree.IsExpanded(at); }),
                 kNoItem);
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
        // The count itself is the search's own test's; here the keys and the line.
        WTreeSearch all(tree.Store(), ".h");
        const auto hits = static_cast<int>(all.Count());
        QMimeData data;
        data.setUrls(
            {QUrl::fromLocalFile(qEnvironmentVariable("TAMSK_EXAMPLES") + "/shapes/shapes.wpj")});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window: the application routes drops only within a drag it runs.
        static_cast<QObject*>(window)->event(&drop);  // reloads: all collapsed again
        WTextPrompt::SetNextAnswer(".H");
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        for (const auto& [key, hit] : {std::pair{Qt::Key_unknown, 1},
                                       {Qt::Key_Back, hits},
                                       {Qt::Key_F3, 1},
                                       {Qt::Key_F3, 2}}) {
            if (key != Qt::Key_unknown) {
                QTest::keyClick(window, Qt::Key_F3,
                                key == Qt::Key_Back ? Qt::ShiftModifier : Qt::NoModifier);
            }
            QCOMPARE(QString::fromStdString(mainForm->GetStatusText().Str()),
                     QString("\".H\": hit %1 of %2").arg(hit).arg(hits));
            QVERIFY(QString(tree.GetItemText(tree.GetSelectedItem()).GetText())
                        .contains(".h", Qt::CaseInsensitive));
        }
        QCOMPARE(WTextPrompt::PendingAnswers(), 0);
    }

    // Selecting a node (Find) scrolls sideways only as far as the start of its
    // row needs: a node deep in the tree shows its expander and whole label; a
    // node at the top brings the view back to its left edge.
    void selectedNodeShowsTheStartOfItsRow() {
        Start();
        WTreeView& tree = *mainForm->tv_1;
        const WTreeItem top = tree.AddItem("top", kNoItem, 0, 0, WTreePosition::Last());
        WTreeItem deepest = top;
        for (int level = 1; level <= 30; ++level) {
            deepest = tree.AddItem("level " + std::to_string(level) + " of a long chain", deepest,
                                   2, 2, WTreePosition::Last());
        }
        QTreeView* view = QtTreeView(tree);
        QScrollBar* sideways = view->horizontalScrollBar();
        tree.SelectItem(deepest);
        const QRect row = view->visualRect(view->currentIndex());
        QVERIFY(sideways->value() > 0);
        QVERIFY(row.left() >= view->indentation() && row.right() <= view->viewport()->width());
        tree.SelectItem(top);
        QCOMPARE(sideways->value(), 0);
    }

    // A close that arrives while a load shows its wait cursor waits for the load.
    void closeDuringALoadWaitsForIt() {
        Start();
        QCoreApplication::postEvent(QtWidget(*mainForm), new QCloseEvent);
        LoadExample();
        QVERIFY(mainForm->HasWindow());
        QVERIFY(mainForm->tv_1->Store().Count() > 0);
        QTRY_VERIFY(!mainForm->HasWindow());
    }

    // Esc stops a long '*': the item is open, the rest stays closed, and the wait
    // cursor goes; keys pressed meanwhile do not reach the tree. Without Esc every
    // item below is opened, over many slices.
    void escapeStopsALongExpansion() {
        Start();
        WTreeView& tree = *mainForm->tv_1;
        const WTreeStore& store = tree.Store();
        auto add = [&](const char* label, WTreeItem parent) {
            return tree.AddItem(label, parent, 0, 0, WTreePosition::Last());
        };
        add("above", kNoItem);
        const WTreeItem top = add("top", kNoItem);
        for (const WTreeItem half : {add("half", top), add("half", top)}) {
            for (int i = 0; i < 100; ++i) {  // 40,000 rows a half
                const WTreeItem child = add("child", half);
                for (int j = 0; j < 200; ++j) {
                    add("leaf", add("grandchild", child));
                }
            }
        }
        tree.SelectItem(top);
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Up}) {
            QCoreApplication::postEvent(QtWidget(tree),
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        }
        auto allOpen = [&] {
            return store.FindDescendant(top, [&](WTreeItem at) {
                return store.HasChildren(at) && !tree.IsExpanded(at);
            }) == kNoItem;
        };
        tree.ExpandSubtree(top);
        QVERIFY(tree.IsExpanded(top) && !allOpen());
        QCOMPARE(tree.GetSelectedItem(), top);
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
        tree.ExpandSubtree(top);
        QVERIFY(allOpen());
    }
};

QTEST_MAIN(TamskFormTest)
#include "tamskform_test.moc"

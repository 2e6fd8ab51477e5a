#include "mainwin/tamskform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <sstream>

#include "classlib/core/hostfs.h"
#include "classlib/qt/wqtnative.h"
#include "depscan/projectload.h"
#include "mainwin/mainform.h"

namespace {

QAction* MenuAction(int id) {
    WMenuItem* item = mainForm && mainForm->fileMenu ? mainForm->fileMenu->FindItem(id) : nullptr;
    return item ? QtAction(*item) : nullptr;
}

// Chooses a menu command as the user does; a missing or disabled item fails the test.
void Choose(int id) {
    QAction* action = MenuAction(id);
    QVERIFY2(action && action->isEnabled(), qPrintable(QString("item %1 not usable").arg(id)));
    action->trigger();
}

QRect ClientArea() {
    return QRect(QPoint(0, 0), QtSize(mainForm->GetClientSize()));
}

// The tree as the view's model shows it, one indented line per node.
QStringList ShownLines(const QModelIndex& parent = {}, int depth = 0) {
    QStringList lines;
    const QAbstractItemModel& model = *QtTreeView(*mainForm->tv_1)->model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        lines << QString(depth, ' ') + index.data().toString() << ShownLines(index, depth + 1);
    }
    return lines;
}

// The same project loaded without any window.
QStringList HeadlessLines(const QString& project, ParseLiterals parse = ParseLiterals::Off) {
    WTreeStore store;
    HostFs fs;
    LoadProjectWithDependencies(store, WFilePath(std::string_view(project.toStdString())), fs,
                                parse);
    std::ostringstream out;
    if (store.FirstRoot() != kNoItem) {
        DumpTree(store, store.FirstRoot(), out, 0);
    }
    QStringList lines = QString::fromStdString(out.str()).split('\n');
    lines.removeLast();
    return lines;
}

const QString kShapes = "examples/shapes/shapes.wpj";

}  // namespace

class TamskFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousFolder_;

    QString Path(const QString& relative) const { return dir_->path() + "/" + relative; }

    void Start() {
        QVERIFY(CreateMainForm() != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(QtWidget(*mainForm)));
    }

    // An empty name cancels the dialog.
    void Load(const QString& relative) {
        WFileDialog::SetNextAnswer(
            relative.isEmpty() ? std::nullopt : std::optional(Path(relative).toStdString()));
        Choose(1001);
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        const QDir examples(qEnvironmentVariable("TAMSK_EXAMPLES"));
        for (QDirIterator it(examples.path(), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString target = Path("examples/" + examples.relativeFilePath(it.next()));
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(it.filePath(), target);
        }
        QVERIFY(QFile::exists(Path(kShapes)));
        WFileDialog::ClearAnswers();
        WMessageLoop::ResetForTesting();
    }

    void cleanup() {
        DestroyMainForm();
        QCOMPARE(WFileDialog::PendingAnswers(), 0);
        WFileDialog::ClearAnswers();
        QDir::setCurrent(previousFolder_);
        dir_.reset();
    }

    void minimumSizeIsKeptAndTheTreeFillsTheClientArea() {
        Start();
        QWidget* window = QtWidget(*mainForm);
        const QSize start = window->size();
        QCOMPARE(window->windowIcon().isNull(), false);
        QCOMPARE(QtTreeView(*mainForm->tv_1)->geometry(), ClientArea());
        window->resize(start.width() - 40, start.height() - 40);
        QCOMPARE(window->size(), start);
        for (int step = 1; step <= 25; ++step) {
            window->resize(start.width() + 3 * step, start.height() + step);
            QTRY_COMPARE(window->size(), QSize(start.width() + 3 * step, start.height() + step));
            QCOMPARE(QtTreeView(*mainForm->tv_1)->geometry(), ClientArea());
        }
        // A status line takes its room from the tree, which still fills the rest.
        mainForm->SetStatusText("note");
        QCOMPARE(QtTreeView(*mainForm->tv_1)->geometry(), ClientArea());
    }

    void copyCommandRunsTheDialogModallyOverTheForm() {
#ifndef TAMSK_HAVE_COPY_DIALOG
        QSKIP("the copy dialog is not part of this build");
#else
        Start();
        Load(kShapes);
        QString caption;
        QTimer::singleShot(0, this, [&caption]() {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr && dialog != QtWidget(*mainForm));
            caption = dialog->windowTitle();
            dialog->close();
        });
        Choose(1005);
        QCOMPARE(caption, QString("CopyProject: shapes [shapes.wpj]"));
        QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(nullptr));
        QCOMPARE(ShownLines(), HeadlessLines(Path(kShapes)));
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
#endif
    }
};

QTEST_MAIN(TamskFormTest)
#include "tamskform_test.moc"

#include "mainwin/tamskform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "classlib/qt/wqtnative.h"
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
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
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
        Start();
        LoadExample();
        QString caption;
        QTimer::singleShot(0, this, [&caption]() {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr && dialog != QtWidget(*mainForm));
            caption = dialog->windowTitle();
            dialog->close();
        });
        Choose(TamskForm::CopyId);
        QCOMPARE(caption, QString("CopyProject: shapes [shapes.wpj]"));
        QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(nullptr));
        // The view still shows the project.
        const QModelIndex root = QtTreeView(*mainForm->tv_1)->model()->index(0, 0);
        QCOMPARE(root.data().toString(), QString("Project: shapes [shapes.wpj]"));
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
    }
};

QTEST_MAIN(TamskFormTest)
#include "tamskform_test.moc"

#include "mainwin/tamskform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <sstream>

#include "classlib/core/hostfs.h"
#include "classlib/qt/wapplication.h"
#include "depscan/projectload.h"
#include "mainwin/applicationclass.h"
#include "mainwin/mainform.h"

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void CopyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + "/" + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

QAction* MenuAction(int id) {
    if (mainForm == nullptr || !mainForm->HasWindow()) {
        return nullptr;
    }
    for (QAction* action : mainForm->GetWidget()->findChildren<QAction*>()) {
        if (action->property("menuItemId").toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

// Chooses a menu command as the user does; fails loudly when the item is
// missing or disabled.
void Choose(int id) {
    QAction* action = MenuAction(id);
    QVERIFY2(action != nullptr, qPrintable(QString("menu item %1 is missing").arg(id)));
    QVERIFY2(action->isEnabled(), qPrintable(QString("menu item %1 is disabled").arg(id)));
    action->trigger();
}

bool IsEnabled(int id) {
    return MenuAction(id) && MenuAction(id)->isEnabled();
}
bool IsChecked(int id) {
    return MenuAction(id) && MenuAction(id)->isChecked();
}

QString Caption() {
    return mainForm->GetWidget()->windowTitle();
}

QTreeView* TreeWidget() {
    return mainForm->tv_1->GetTreeWidget();
}

// The tree as the view's model shows it, one indented line per node.
void CollectLines(const QAbstractItemModel& model, const QModelIndex& parent, int depth,
                  QStringList& lines) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        lines << QString(depth, ' ') + index.data().toString();
        CollectLines(model, index, depth + 1, lines);
    }
}

QStringList ShownLines() {
    QStringList lines;
    CollectLines(*TreeWidget()->model(), {}, 0, lines);
    return lines;
}

// The same project loaded without any window.
QStringList HeadlessLines(const QString& project, ParseLiterals parse) {
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

class Destructions : public WObject {
public:
    explicit Destructions(int& count) : count_(count) {}
    ~Destructions() override { ++count_; }

private:
    int& count_;
};

const QString kCaptionNone = "Watcom Project [none]";

}  // namespace

class TamskFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousFolder_;
    QString project_;

    QString Settings() const { return dir_->path() + "/Tamsk.Ini"; }

    void Start() {
        QVERIFY(CreateMainForm() != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(mainForm->GetWidget()));
    }

    void Load(const QString& path) {
        WFileDialog::SetNextAnswer(path.toStdString());
        Choose(1001);
    }

    void CancelLoad() {
        WFileDialog::SetNextAnswer(std::nullopt);
        Choose(1001);
    }

    void Close() {
        mainForm->GetWidget()->close();
        DestroyMainForm();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(dir_->path());
        CopyFolder(qEnvironmentVariable("TAMSK_EXAMPLES"), dir_->path() + "/examples");
        project_ = dir_->path() + "/examples/shapes/shapes.wpj";
        QVERIFY(QFile::exists(project_));
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

    void startShowsEmptyTreeAndMenuStates() {
        Start();
        QCOMPARE(Caption(), kCaptionNone);
        QCOMPARE(ShownLines(), QStringList());
        QCOMPARE(IsEnabled(1001), true);
        QCOMPARE(IsEnabled(1002), false);
        QCOMPARE(IsEnabled(1004), true);
        QCOMPARE(IsChecked(1004), false);
        QCOMPARE(IsEnabled(1005), false);
        QCOMPARE(IsEnabled(1007), true);
        QCOMPARE(MenuAction(1002)->text(),
                 QString("&Export Dependencies to <projectname>_dep.txt"));
        QCOMPARE(mainForm->fileMenu->GetQMenu()->title(), QString("&File"));
        QCOMPARE(mainForm->GetWidget()->windowIcon().isNull(), false);
        QCOMPARE(TreeWidget()->geometry(), QRect(QPoint(0, 0), mainForm->GetClientSize()));
        QCOMPARE(mainForm->fileDialog->GetFlags(), 0x88002CUL);
        QCOMPARE(mainForm->fileDialog->GetInitialPath().Str(), std::string("."));
    }

    void loadShowsTheSameTreeAsTheHeadlessLoad() {
        Start();
        Load(project_);
        QCOMPARE(Caption(), "Watcom Project [" + project_ + "]");
        QCOMPARE(IsEnabled(1002), true);
        QCOMPARE(IsEnabled(1005), true);
        QCOMPARE(ShownLines(), HeadlessLines(project_, ParseLiterals::Off));
        QCOMPARE(mainForm->GetStatusText().Str(), std::string());
        QCOMPARE(TreeWidget()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
        // The project node owns its folder.
        const WTreeItem root = mainForm->tv_1->Store().FirstRoot();
        auto* folder = dynamic_cast<WString*>(mainForm->tv_1->GetItemData(root));
        QVERIFY(folder != nullptr);
        QCOMPARE(QString::fromStdString(folder->Str()), dir_->path() + "/examples/shapes/");
    }

    void reloadingTheSameProjectNeverDoublesTheTree() {
        Start();
        Load(project_);
        const QStringList first = ShownLines();
        QVERIFY(first.size() > 10);
        Load(project_);
        QCOMPARE(ShownLines(), first);
    }

    void cancelledLoadEmptiesTheTreeAndKeepsTheItems() {
        Start();
        Load(project_);
        CancelLoad();
        QCOMPARE(Caption(), kCaptionNone);
        QCOMPARE(ShownLines(), QStringList());
        QCOMPARE(IsEnabled(1002), true);
        QCOMPARE(IsEnabled(1005), true);
    }

    void failedLoadDisablesTheItems() {
        Start();
        Load(project_);
        Load(dir_->path() + "/missing.wpj");
        QCOMPARE(Caption(), kCaptionNone);
        QCOMPARE(ShownLines(), QStringList());
        QCOMPARE(IsEnabled(1002), false);
        QCOMPARE(IsEnabled(1005), false);
    }

    void textFileLoadsAsProjectWithoutTargets() {
        Start();
        const QString notes = dir_->path() + "/notes.txt";
        WriteBytes(notes, "just some text\r\n");
        Load(notes);
        QCOMPARE(Caption(), "Watcom Project [" + notes + "]");
        QCOMPARE(ShownLines(), QStringList{"Project: notes [notes.txt]"});
        QCOMPARE(IsEnabled(1002), true);
    }

    void exportWritesTheTreeBesideTheProject() {
        Start();
        Load(project_);
        Choose(1002);
        const QString exported = dir_->path() + "/examples/shapes/shapes_dep.Txt";
        const QByteArray expected =
            HeadlessLines(project_, ParseLiterals::Off).join("\r\n").toUtf8() + "\r\n";
        QCOMPARE(ReadBytes(exported), expected);
        Choose(1002);
        QCOMPARE(ReadBytes(exported), expected);
        // After a cancelled load the tree is empty and nothing is written.
        QFile::remove(exported);
        CancelLoad();
        Choose(1002);
        QCOMPARE(QFile::exists(exported), false);
    }

    void parseOptionTakesEffectAtTheNextLoad() {
        Start();
        Load(project_);
        const QStringList plain = ShownLines();
        Choose(1004);
        QCOMPARE(IsChecked(1004), true);
        QCOMPARE(ShownLines(), plain);
        Load(project_);
        const QStringList withLiterals = HeadlessLines(project_, ParseLiterals::On);
        QVERIFY(withLiterals != plain);
        QCOMPARE(ShownLines(), withLiterals);
        Choose(1004);
        QCOMPARE(IsChecked(1004), false);
        Load(project_);
        QCOMPARE(ShownLines(), plain);
    }

    void closeBoxAndExitEndTheProgramAlike_data() {
        QTest::addColumn<bool>("useExit");
        QTest::newRow("close box") << false;
        QTest::newRow("E&xit") << true;
    }
    void closeBoxAndExitEndTheProgramAlike() {
        QFETCH(bool, useExit);
        ApplicationClass application;
        QTimer::singleShot(0, this, [useExit]() {
            if (useExit) {
                Choose(1007);
            } else {
                mainForm->GetWidget()->close();
            }
        });
        // A loop that never ends would fail here instead of hanging.
        QTimer::singleShot(20000, this, []() { WMessageLoop::PostQuitMessage(99); });
        QCOMPARE(application.Run(0, nullptr), 0);
        QCOMPARE(mainForm, static_cast<TamskForm*>(nullptr));
        QCOMPARE(ReadBytes(Settings()), QByteArray("[Options]\r\nParseSource=false\r\n"));
    }

    void windowThatCannotBeCreatedEndsWithMinusOne() {
        ApplicationClass application;
        WForm::RefuseWindowCreationForTesting(true);
        QTimer::singleShot(20000, this, []() { WMessageLoop::PostQuitMessage(99); });
        const int code = application.Run(0, nullptr);
        WForm::RefuseWindowCreationForTesting(false);
        QCOMPARE(code, -1);
        QCOMPARE(mainForm, static_cast<TamskForm*>(nullptr));
        QCOMPARE(QFile::exists(Settings()), false);
    }

    void parseSourceValues_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("checked");
        QTest::newRow("true") << QByteArray("true") << true;
        QTest::newRow("TRUE") << QByteArray("TRUE") << true;
        QTest::newRow("True") << QByteArray("True") << true;
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("yes") << QByteArray("yes") << false;
        QTest::newRow("on") << QByteArray("on") << false;
        QTest::newRow("2") << QByteArray("2") << false;
        QTest::newRow("empty") << QByteArray("") << false;
    }
    void parseSourceValues() {
        QFETCH(QByteArray, stored);
        QFETCH(bool, checked);
        WriteBytes(Settings(), "[Other]\nKeep=me\n[options]\nparsesource=" + stored + "\n");
        Start();
        QCOMPARE(IsChecked(1004), checked);
        Close();
        const QByteArray written = checked ? "true" : "false";
        QCOMPARE(ReadBytes(Settings()),
                 "[Other]\r\nKeep=me\r\n[options]\r\nparsesource=" + written + "\r\n");
    }

    void folderOfTheChosenProjectIsStoredAndReadBack() {
        Start();
        Load(project_);
        Close();
        const QString folder = dir_->path() + "/examples/shapes/";
        QCOMPARE(ReadBytes(Settings()),
                 "[Options]\r\nFolder=" + folder.toUtf8() + "\r\nParseSource=false\r\n");
        Start();
        QCOMPARE(QString::fromStdString(mainForm->fileDialog->GetInitialPath().Str()), folder);
        // A failed load still stores the folder of the chosen file.
        Load(dir_->path() + "/elsewhere/missing.wpj");
        Close();
        QCOMPARE(ReadBytes(Settings()), "[Options]\r\nFolder=" + dir_->path().toUtf8() +
                                            "/elsewhere/\r\nParseSource=false\r\n");
    }

    void cancelledDialogKeepsTheStoredFolder() {
        WriteBytes(Settings(), "[Options]\r\nFolder=C:\\work\\app\\\r\nParseSource=true\r\n");
        Start();
        Load(project_);
        CancelLoad();
        Choose(1004);
        Choose(1004);
        Close();
        QCOMPARE(ReadBytes(Settings()),
                 QByteArray("[Options]\r\nFolder=C:\\work\\app\\\r\nParseSource=true\r\n"));
    }

    void treeFillsTheClientAreaAfterManySmallResizes() {
        Start();
        QWidget* window = mainForm->GetWidget();
        const QSize start = window->size();
        window->resize(start.width() - 40, start.height() - 40);
        QCOMPARE(window->size(), start);
        for (int step = 1; step <= 25; ++step) {
            window->resize(start.width() + 3 * step, start.height() + step);
            QTRY_COMPARE(window->size(), QSize(start.width() + 3 * step, start.height() + step));
            QCOMPARE(TreeWidget()->geometry(), QRect(QPoint(0, 0), mainForm->GetClientSize()));
        }
        // A status line takes its room from the tree, which still fills the rest.
        mainForm->SetStatusText("note");
        QCOMPARE(TreeWidget()->geometry(), QRect(QPoint(0, 0), mainForm->GetClientSize()));
        mainForm->SetStatusText("");
        QCOMPARE(TreeWidget()->geometry(), QRect(QPoint(0, 0), mainForm->GetClientSize()));
    }

    void copyCommandRunsTheDialogModallyOverTheForm() {
#ifndef TAMSK_HAVE_COPY_DIALOG
        QSKIP("the copy dialog is not part of this build");
#else
        Start();
        Load(project_);
        QString caption;
        bool formBlocked = false;
        QTimer::singleShot(0, this, [&]() {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            caption = dialog->windowTitle();
            formBlocked = QApplication::activeModalWidget() != mainForm->GetWidget();
            dialog->close();
        });
        Choose(1005);
        QCOMPARE(caption, QString("CopyProject: shapes [shapes.wpj]"));
        QCOMPARE(formBlocked, true);
        QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(nullptr));
        QCOMPARE(ShownLines(), HeadlessLines(project_, ParseLiterals::Off));
#endif
    }

    void deletingItemsDestroysTheirObjectsOnce() {
        Start();
        int destroyed = 0;
        WTreeView& tree = *mainForm->tv_1;
        const WTreeItem root = tree.AddItem("root", kNoItem, 0, 0, WTreePosition::Last(),
                                            std::make_unique<Destructions>(destroyed));
        tree.AddItem("child", root, 2, 2, WTreePosition::Last(),
                     std::make_unique<Destructions>(destroyed));
        tree.AddItem("plain", root, 2, 2, WTreePosition::Last());
        tree.DeleteAllItems();
        QCOMPARE(destroyed, 2);
        tree.AddItem("last", kNoItem, 0, 0, WTreePosition::Last(),
                     std::make_unique<Destructions>(destroyed));
        Close();
        QCOMPARE(destroyed, 3);
    }
};

QTEST_MAIN(TamskFormTest)
#include "tamskform_test.moc"

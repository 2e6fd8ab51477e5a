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

QAction* MenuAction(int id) {
    WMenuItem* item = mainForm && mainForm->fileMenu ? mainForm->fileMenu->FindItem(id) : nullptr;
    return item ? item->GetAction() : nullptr;
}

// Chooses a menu command as the user does; a missing or disabled item fails the test.
void Choose(int id) {
    QAction* action = MenuAction(id);
    QVERIFY2(action && action->isEnabled(), qPrintable(QString("item %1 not usable").arg(id)));
    action->trigger();
}

// The caption, then one letter per item Load, Export, Parse, Copy, Exit:
// E enabled, - disabled, C checked.
QString WindowState() {
    QString state = mainForm->GetWidget()->windowTitle() + " ";
    for (int id : {TamskForm::LoadId, TamskForm::ExportId, TamskForm::ParseId, TamskForm::CopyId,
                   TamskForm::ExitId}) {
        const QAction* item = MenuAction(id);
        state += !item ? '?' : item->isChecked() ? 'C' : item->isEnabled() ? 'E' : '-';
    }
    return state;
}

QRect ClientArea() {
    return QRect(QPoint(0, 0), mainForm->GetClientSize());
}

// The tree as the view's model shows it, one indented line per node.
QStringList ShownLines(const QModelIndex& parent = {}, int depth = 0) {
    QStringList lines;
    const QAbstractItemModel& model = *mainForm->tv_1->GetTreeWidget()->model();
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

class Destructions : public WObject {
public:
    explicit Destructions(int& count) : count_(count) {}
    ~Destructions() override { ++count_; }

private:
    int& count_;
};

const QString kShapes = "examples/shapes/shapes.wpj";

}  // namespace

class TamskFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousFolder_;

    QString Path(const QString& relative) const { return dir_->path() + "/" + relative; }
    QString Settings() const { return Path("Tamsk.Ini"); }

    void Start() {
        QVERIFY(CreateMainForm() != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(mainForm->GetWidget()));
    }

    // An empty name cancels the dialog.
    void Load(const QString& relative) {
        WFileDialog::SetNextAnswer(
            relative.isEmpty() ? std::nullopt : std::optional(Path(relative).toStdString()));
        Choose(TamskForm::LoadId);
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
        const QDir examples(qEnvironmentVariable("TAMSK_EXAMPLES"));
        for (QDirIterator it(examples.path(), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString target = Path("examples/" + examples.relativeFilePath(it.next()));
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(it.filePath(), target);
        }
        QVERIFY(QFile::exists(Path(kShapes)));
        WriteBytes(Path("notes.txt"), "just some text\r\n");  // loads as a project without targets
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

    // steps: files chosen in turn, "" cancels, "#id" chooses a command; shown: the file in the
    // caption; tree: the example loaded "plain" or with "literals", or the one line shown.
    void captionMenuAndTreeThroughLoads_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("tree");
        const auto row = [](const char* name, const QStringList& steps, const QString& shown,
                            const char* menu, const char* tree) {
            QTest::newRow(name) << steps << shown << QString(menu) << QString(tree);
        };
        const QString s = kShapes;
        const QString parse = "#" + QString::number(TamskForm::ParseId);
        row("start", {}, "", "E-E-E", "");
        row("load", {s}, s, "EEEEE", "plain");
        row("reload, never doubled", {s, s}, s, "EEEEE", "plain");
        row("cancelled", {s, ""}, "", "EEEEE", "");
        row("failed", {s, "missing.wpj"}, "", "E-E-E", "");
        row("text file", {"notes.txt"}, "notes.txt", "EEEEE", "Project: notes [notes.txt]");
        row("parse checked, tree kept", {s, parse}, s, "EECEE", "plain");
        row("parse at next load", {s, parse, s}, s, "EECEE", "literals");
        row("parse cleared", {parse, s, parse, s}, s, "EEEEE", "plain");
    }
    void captionMenuAndTreeThroughLoads() {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(QString, menu);
        QFETCH(QString, tree);
        Start();
        QCOMPARE(mainForm->GetWidget()->windowIcon().isNull(), false);
        QCOMPARE(mainForm->fileDialog->GetFlags(), 0x88002CUL);
        QCOMPARE(mainForm->fileDialog->GetInitialPath().Str(), std::string("."));
        QCOMPARE(MenuAction(TamskForm::ExportId)->text(),
                 QString("&Export Dependencies to <projectname>_dep.txt"));
        for (const QString& step : steps) {
            step.startsWith('#') ? Choose(step.mid(1).toInt()) : Load(step);
        }
        const QString caption = shown.isEmpty() ? "none" : Path(shown);
        QCOMPARE(WindowState(), "Watcom Project [" + caption + "] " + menu);
        const QStringList plain = HeadlessLines(Path(kShapes));
        const QStringList literals = HeadlessLines(Path(kShapes), ParseLiterals::On);
        QVERIFY(plain.size() > 10 && literals != plain);
        QCOMPARE(ShownLines(), tree == "plain"      ? plain
                               : tree == "literals" ? literals
                               : tree.isEmpty()     ? QStringList()
                                                    : QStringList{tree});
        QCOMPARE(mainForm->GetStatusText().Str(), std::string());
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
    }

    void exportWritesTheTreeBesideTheProject() {
        Start();
        Load(kShapes);
        // The project node owns its folder.
        const auto* folder = dynamic_cast<WString*>(
            mainForm->tv_1->GetItemData(mainForm->tv_1->Store().FirstRoot()));
        QVERIFY(folder != nullptr);
        QCOMPARE(QString::fromStdString(folder->Str()), Path("examples/shapes/"));
        const QString exported = Path("examples/shapes/shapes_dep.Txt");
        const QByteArray expected = HeadlessLines(Path(kShapes)).join("\r\n").toUtf8() + "\r\n";
        Choose(TamskForm::ExportId);
        QCOMPARE(ReadBytes(exported), expected);
        Choose(TamskForm::ExportId);
        QCOMPARE(ReadBytes(exported), expected);
        // After a cancelled load the tree is empty and nothing is written.
        QFile::remove(exported);
        Load("");
        Choose(TamskForm::ExportId);
        QCOMPARE(ReadBytes(exported), QByteArray("<missing>"));
    }

    void programEnds_data() {
        QTest::addColumn<int>("how");  // 0 close box, 1 E&xit, 2 window refused
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("settings");
        const QByteArray written = "[Options]\r\nParseSource=false\r\n";
        QTest::newRow("close box") << 0 << 0 << written;
        QTest::newRow("E&xit") << 1 << 0 << written;
        QTest::newRow("no window") << 2 << -1 << QByteArray("<missing>");
    }
    void programEnds() {
        QFETCH(int, how);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, settings);
        ApplicationClass application;
        WForm::RefuseWindowCreationForTesting(how == 2);
        QTimer::singleShot(0, this, [how]() {
            if (how == 1) {
                Choose(TamskForm::ExitId);
            } else if (how == 0) {
                mainForm->GetWidget()->close();
            }
        });
        // A loop that never ends fails here instead of hanging.
        QTimer::singleShot(20000, this, []() { WMessageLoop::PostQuitMessage(99); });
        const int code = application.Run(0, nullptr);
        WForm::RefuseWindowCreationForTesting(false);
        QCOMPARE(code, exitCode);
        QCOMPARE(mainForm, static_cast<TamskForm*>(nullptr));
        QCOMPARE(ReadBytes(Settings()), settings);
    }

    void parseSourceValues_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<bool>("checked");
        for (const char* value : {"true", "TRUE", "True", "1"}) {
            QTest::newRow(value) << QByteArray(value) << true;
        }
        for (const char* value : {"yes", "on", "2", ""}) {
            QTest::newRow(value) << QByteArray(value) << false;
        }
    }
    void parseSourceValues() {
        QFETCH(QByteArray, stored);
        QFETCH(bool, checked);
        WriteBytes(Settings(), "[Other]\nKeep=me\n[options]\nparsesource=" + stored + "\n");
        Start();
        QCOMPARE(WindowState().right(5), QString(checked ? "E-C-E" : "E-E-E"));
        Close();
        QCOMPARE(ReadBytes(Settings()), "[Other]\r\nKeep=me\r\n[options]\r\nparsesource=" +
                                            QByteArray(checked ? "true" : "false") + "\r\n");
    }

    void folderIsKeptAfterACancelledDialogAndStoredAfterAChoice() {
        const QByteArray foreign = "[Options]\r\nFolder=C:\\work\\app\\\r\nParseSource=true\r\n";
        WriteBytes(Settings(), foreign);
        Start();
        QCOMPARE(mainForm->fileDialog->GetInitialPath().Str(), std::string("C:\\work\\app\\"));
        Load("");
        Choose(TamskForm::ParseId);
        Choose(TamskForm::ParseId);
        Close();
        QCOMPARE(ReadBytes(Settings()), foreign);
        // A failed load still stores the folder of the chosen file.
        for (const QString& chosen : {kShapes, QString("elsewhere/missing.wpj")}) {
            Start();
            Load(chosen);
            Close();
            const QString folder = QFileInfo(Path(chosen)).path() + "/";
            QCOMPARE(ReadBytes(Settings()),
                     "[Options]\r\nFolder=" + folder.toUtf8() + "\r\nParseSource=true\r\n");
        }
    }

    void minimumSizeIsKeptAndTheTreeFillsTheClientArea() {
        Start();
        QWidget* window = mainForm->GetWidget();
        const QSize start = window->size();
        QCOMPARE(mainForm->tv_1->GetTreeWidget()->geometry(), ClientArea());
        window->resize(start.width() - 40, start.height() - 40);
        QCOMPARE(window->size(), start);
        for (int step = 1; step <= 25; ++step) {
            window->resize(start.width() + 3 * step, start.height() + step);
            QTRY_COMPARE(window->size(), QSize(start.width() + 3 * step, start.height() + step));
            QCOMPARE(mainForm->tv_1->GetTreeWidget()->geometry(), ClientArea());
        }
        // A status line takes its room from the tree, which still fills the rest.
        mainForm->SetStatusText("note");
        QCOMPARE(mainForm->tv_1->GetTreeWidget()->geometry(), ClientArea());
    }

    void copyCommandRunsTheDialogModallyOverTheForm() {
        Start();
        Load(kShapes);
        QString caption;
        QTimer::singleShot(0, this, [&caption]() {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr && dialog != mainForm->GetWidget());
            caption = dialog->windowTitle();
            dialog->close();
        });
        Choose(TamskForm::CopyId);
        QCOMPARE(caption, QString("CopyProject: shapes [shapes.wpj]"));
        QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(nullptr));
        QCOMPARE(ShownLines(), HeadlessLines(Path(kShapes)));
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

#include "mainwin/tamskform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <sstream>

#include "classlib/core/hostfs.h"
#include "classlib/qt/wapplication.h"
#include "classlib/qt/wtextprompt.h"
#include "depscan/projectload.h"
#include "mainwin/applicationclass.h"
#include "mainwin/commandline.h"
#include "mainwin/mainform.h"

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The settings file without the window's placement, which depends on the screen.
QByteArray ReadSettings(const QString& path) {
    QByteArray kept;
    for (const QByteArray& line : ReadBytes(path).split('\n')) {
        if (!line.isEmpty() && !line.startsWith("Window")) {
            kept += line + '\n';
        }
    }
    return kept;
}

void Drop(const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window: the application routes drops only within a drag it runs.
    static_cast<QObject*>(mainForm->GetWidget())->event(&drop);
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

// The caption, then one letter per item 1001, 1002, 1004, 1005, 1007:
// E enabled, - disabled, C checked.
QString WindowState() {
    QString state = mainForm->GetWidget()->windowTitle() + " ";
    for (int id : {1001, 1002, 1004, 1005, 1007}) {
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

    // An empty name cancels the dialog; "!name" drops the file on the window.
    void Load(const QString& relative) {
        if (relative.startsWith('!')) {
            return Drop(Path(relative.mid(1)));
        }
        WFileDialog::SetNextAnswer(
            relative.isEmpty() ? std::nullopt : std::optional(Path(relative).toStdString()));
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

    // steps: files chosen in turn, "" cancels, "#id" chooses a command; shown: the file in the
    // caption; tree: the example loaded "plain" or with "literals", or the one line shown.
    void captionMenuAndTreeThroughLoads_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("status");
        const auto row = [](const char* name, const QStringList& steps, const QString& shown,
                            const char* menu, const char* tree, const QString& status = "") {
            QTest::newRow(name) << steps << shown << QString(menu) << QString(tree) << status;
        };
        const QString s = kShapes;
        row("start", {}, "", "E-E-E", "");
        row("load", {s}, s, "EEEEE", "plain");
        row("reload, never doubled", {s, s}, s, "EEEEE", "plain");
        row("cancelled", {s, ""}, "", "EEEEE", "");
        row("failed", {s, "missing.wpj"}, "", "E-E-E", "");
        row("text file", {"notes.txt"}, "notes.txt", "EEEEE", "Project: notes [notes.txt]");
        row("parse checked, tree kept", {s, "#1004"}, s, "EECEE", "plain");
        row("parse at next load", {s, "#1004", s}, s, "EECEE", "literals");
        row("parse cleared", {"#1004", s, "#1004", s}, s, "EEEEE", "plain");
        row("dropped", {"!" + s}, s, "EEEEE", "plain");
        row("dropped text file refused", {s, "!notes.txt"}, s, "EEEEE", "plain",
            "not a project file (*.wpj): notes.txt");
    }
    void captionMenuAndTreeThroughLoads() {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(QString, menu);
        QFETCH(QString, tree);
        QFETCH(QString, status);
        Start();
        QCOMPARE(mainForm->GetWidget()->windowIcon().isNull(), false);
        QCOMPARE(mainForm->fileDialog->GetFlags(), 0x88002CUL);
        QCOMPARE(mainForm->fileDialog->GetInitialPath().Str(), std::string("."));
        QCOMPARE(MenuAction(1002)->text(),
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
        QCOMPARE(QString::fromStdString(mainForm->GetStatusText().Str()),
                 status.replace("notes.txt", Path("notes.txt")));
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
        // The tree has the keyboard, its first node current once a project shows.
        QTRY_COMPARE(QApplication::focusWidget(), mainForm->tv_1->GetWidget());
        QCOMPARE(mainForm->tv_1->GetSelectedItem(), mainForm->tv_1->Store().FirstRoot());
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
        Choose(1002);
        QCOMPARE(ReadBytes(exported), expected);
        Choose(1002);
        QCOMPARE(ReadBytes(exported), expected);
        const QString written = QDir::toNativeSeparators(exported);
        QCOMPARE(QString::fromStdString(mainForm->GetStatusText().Str()),
                 QString("Wrote %1 lines to %2").arg(expected.count('\n')).arg(written));
        // A folder in the way: the status line says so, and nothing is lost.
        QFile::remove(exported);
        QVERIFY(QDir().mkdir(exported));
        Choose(1002);
        QVERIFY2(QString::fromStdString(mainForm->GetStatusText().Str())
                     .startsWith("Could not write " + written + ": "),
                 mainForm->GetStatusText().GetText());
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
        QVERIFY(QDir().rmdir(exported));
        // After a cancelled load the tree is empty and nothing is written.
        Load("");
        Choose(1002);
        QCOMPARE(ReadBytes(exported), QByteArray("<missing>"));
    }

    void programEnds_data() {
        QTest::addColumn<int>("how");  // 0 close box, 1 E&xit, 2 window refused
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("settings");
        const QByteArray written = "[Options]\r\nParseSource=false\r\n";
        QTest::newRow("close box") << 0 << QStringList() << 0 << written;
        QTest::newRow("E&xit") << 1 << QStringList() << 0 << written;
        QTest::newRow("no window") << 2 << QStringList() << -1 << QByteArray("<missing>\n");
        // A project named on the command line opens as if chosen in the load dialog.
        QTest::newRow("project argument")
            << 0 << QStringList{kShapes} << 0
            << "[Options]\r\nFolder=" + QFileInfo(kShapes).path().toUtf8() + "/\r\n" +
                   written.mid(11);
        QTest::newRow("other argument") << 0 << QStringList{"notes.txt"} << 0 << written;
    }
    void programEnds() {
        QFETCH(int, how);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, settings);
        std::vector<QByteArray> texts{"tamsk"};
        for (const QString& argument : arguments) {
            texts.push_back(Path(argument).toUtf8());
        }
        std::vector<char*> argv;
        for (QByteArray& text : texts) {
            argv.push_back(text.data());
        }
        ApplicationClass application;
        WForm::RefuseWindowCreationForTesting(how == 2);
        // Ends the program once a project named on the command line has loaded.
        QTimer end;
        connect(&end, &QTimer::timeout, this, [how, &end]() {
            if (!mainForm || mainForm->GetWidget()->windowTitle().contains("parsing...")) {
                return;
            }
            end.stop();
            if (how == 1) {
                Choose(1007);
            } else {
                mainForm->GetWidget()->close();
            }
        });
        end.start(5);
        // A loop that never ends fails here instead of hanging.
        QTimer::singleShot(20000, this, []() { WMessageLoop::PostQuitMessage(99); });
        const int code = application.Run(static_cast<int>(argv.size()), argv.data());
        WForm::RefuseWindowCreationForTesting(false);
        QCOMPARE(code, exitCode);
        QCOMPARE(mainForm, static_cast<TamskForm*>(nullptr));
        QCOMPARE(ReadSettings(Settings()),
                 settings.replace("Folder=", "Folder=" + Path("").toUtf8()));
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
        QCOMPARE(ReadSettings(Settings()), "[Other]\r\nKeep=me\r\n[options]\r\nparsesource=" +
                                               QByteArray(checked ? "true" : "false") + "\r\n");
    }

    void folderIsKeptAfterACancelledDialogAndStoredAfterAChoice() {
        const QByteArray foreign = "[Options]\r\nFolder=C:\\work\\app\\\r\nParseSource=true\r\n";
        WriteBytes(Settings(), foreign);
        Start();
        QCOMPARE(mainForm->fileDialog->GetInitialPath().Str(), std::string("C:\\work\\app\\"));
        Load("");
        Choose(1004);
        Choose(1004);
        Close();
        QCOMPARE(ReadSettings(Settings()), foreign);
        // A failed load still stores the folder of the chosen file.
        for (const QString& chosen : {kShapes, QString("elsewhere/missing.wpj")}) {
            Start();
            Load(chosen);
            Close();
            const QString folder = QFileInfo(Path(chosen)).path() + "/";
            QCOMPARE(ReadSettings(Settings()),
                     "[Options]\r\nFolder=" + folder.toUtf8() + "\r\nParseSource=true\r\n");
        }
        // Within the run the dialog opens where the last file was chosen.
        QCOMPARE(mainForm, static_cast<TamskForm*>(nullptr));
        Start();
        Load("elsewhere/missing.wpj");
        QCOMPARE(mainForm->fileDialog->GetStartFolder().Str(), Path("elsewhere/").toStdString());
    }

    // A stored placement (left, top, width, height) is taken where it lies
    // wholly on the screen, else moved and shrunk onto it; it is written back.
    void placementIsRestoredOnTheScreen_data() {
        QTest::addColumn<QList<int>>("stored");
        QTest::newRow("on screen") << QList<int>{30, 40, 500, 420};
        QTest::newRow("far off") << QList<int>{-9000, 9000, 500, 420};
        QTest::newRow("too big") << QList<int>{0, 0, 99999, 99999};
    }
    void placementIsRestoredOnTheScreen() {
        QFETCH(QList<int>, stored);
        const QString format =
            "WindowLeft=%1\r\nWindowTop=%2\r\nWindowWidth=%3\r\nWindowHeight=%4\r\n";
        WriteBytes(Settings(),
                   "[Options]\r\n" +
                       format.arg(stored[0]).arg(stored[1]).arg(stored[2]).arg(stored[3]).toUtf8());
        Start();
        const QRect placement = mainForm->GetPlacement();
        QVERIFY(mainForm->GetWidget()->screen()->availableGeometry().contains(
            mainForm->GetWidget()->frameGeometry()));
        QCOMPARE(placement == QRect(stored[0], stored[1], stored[2], stored[3]), stored[0] == 30);
        Close();
        QCOMPARE(ReadBytes(Settings()).mid(11), format.arg(placement.x())
                                                        .arg(placement.y())
                                                        .arg(placement.width())
                                                        .arg(placement.height())
                                                        .toUtf8() +
                                                    "ParseSource=false\r\n");
    }

    // One existing regular file named *.wpj (any case) opens; anything else is said why.
    void projectFileOnTheCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("complaint");
        QTest::newRow("upper case") << QStringList{"UP.WPJ"} << "";
        QTest::newRow("two") << QStringList{"UP.WPJ", "UP.WPJ"}
                             << "expected one project file (*.wpj), got 2 arguments; none opened";
        QTest::newRow("text") << QStringList{"notes.txt"}
                              << "not a project file (*.wpj): notes.txt";
        QTest::newRow("missing") << QStringList{"gone.wpj"} << "no such project file: gone.wpj";
        QTest::newRow("folder") << QStringList{"dir.wpj"} << "not a file: dir.wpj";
    }
    void projectFileOnTheCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, complaint);
        WriteBytes(Path("UP.WPJ"), "");
        QDir().mkdir(Path("dir.wpj"));
        std::vector<std::string> paths(arguments.size());
        std::transform(arguments.begin(), arguments.end(), paths.begin(),
                       [](const QString& argument) { return argument.toStdString(); });
        HostFs fs;
        std::string said;
        QCOMPARE(ProjectFileOf(paths, fs, said).has_value(), complaint.isEmpty());
        QCOMPARE(QString::fromStdString(said), complaint);
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

    // The keyboard alone: '*' expands the whole subtree, Ctrl+F finds in
    // collapsed parts too, F3 and Shift+F3 step through the hits, wrapping.
    void keyboardExpandsAndFinds() {
        Start();
        Load(kShapes);
        QWidget* window = mainForm->GetWidget();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        WTreeView& tree = *mainForm->tv_1;
        const WTreeStore& store = tree.Store();
        QTest::keyClick(tree.GetWidget(), Qt::Key_Asterisk);
        QCOMPARE(store.FindDescendant(
                     store.FirstRoot(),
                     [&](WTreeItem at) { return store.HasChildren(at) && !tree.IsExpanded(at); }),
                 kNoItem);
        QCOMPARE(QGuiApplication::overrideCursor(), static_cast<QCursor*>(nullptr));
        const auto hits = HeadlessLines(Path(kShapes)).filter(".H", Qt::CaseInsensitive).size();
        Load(kShapes);  // all collapsed again
        WTextPrompt::SetNextAnswer(".H");
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        for (const auto& [key, hit] : {std::pair{Qt::Key_unknown, 1},
                                       {Qt::Key_Back, int(hits)},
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
#ifndef TAMSK_HAVE_COPY_DIALOG
        QSKIP("the copy dialog is not part of this build");
#else
        Start();
        Load(kShapes);
        QString caption;
        QTimer::singleShot(0, this, [&caption]() {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr && dialog != mainForm->GetWidget());
            caption = dialog->windowTitle();
            // Placed relative to its owner, wholly on the screen.
            QVERIFY(dialog->screen()->availableGeometry().contains(dialog->frameGeometry()));
            dialog->close();
        });
        Choose(1005);
        QCOMPARE(caption, QString("CopyProject: shapes [shapes.wpj]"));
        QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(nullptr));
        QCOMPARE(ShownLines(), HeadlessLines(Path(kShapes)));
#endif
    }
};

QTEST_MAIN(TamskFormTest)
#include "tamskform_test.moc"

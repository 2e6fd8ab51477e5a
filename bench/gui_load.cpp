// Loading a project in the main window against loading it without one.
//
//   gui_load headless PROJECT.wpj      the load alone, into a tree store
//   gui_load window PROJECT.wpj        the load through the window's menu, then the view
//                                      laid out, then a few nodes expanded and painted
//   gui_load find PROJECT.wpj          the load alone, then Find over the tree, no node opened
//
// Prints the load's wall time, the process's peak RSS, and in window mode the time of each
// expansion, of the '*' key on the first target's sources (in all, to the first screen of opened
// rows, longest freeze), and of Find (first hit shown, all hits counted) for a rare and a common
// text. Run each mode in its own process (bench/gui_run.sh) so that peak RSS is its own.
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "classlib/core/hostfs.h"
#include "classlib/core/wtreesearch.h"
#include "classlib/gui/wfiledialog.h"
#include "classlib/qt/treemodel.h"
#include "classlib/qt/wqtnative.h"
#include "depscan/projectload.h"
#include "mainwin/mainform.h"
#include "mainwin/tamskform.h"
#include "resources/programresources.h"

namespace {

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

int Headless(const char* project) {
    WTreeStore store;
    NativeHostFs fs;
    QElapsedTimer timer;
    timer.start();
    ScanOutcome outcome;
    const bool loaded =
        LoadProjectWithDependencies(store, WFilePath(project), fs, ParseLiterals::On, &outcome);
    std::printf("load_s %.3f\nnodes %zu\nloaded %d\ncomplete %d\npeak_rss_kb %ld\n", Seconds(timer),
                store.Count(), loaded ? 1 : 0, outcome.complete ? 1 : 0, PeakRssKb());
    return loaded ? 0 : 1;
}

// Find over the loaded tree with nothing opened, as the window's Find does it: the first hit,
// the count, and Find Next through every hit up to the 1,000th, each timed on its own.
void TimeFindHeadless(WTreeStore& store, const char* text, const char* name) {
    WTreeSearch search(store, text, kDefaultNodeLimit);
    QElapsedTimer timer;
    timer.start();
    const WTreeItem first = search.FindFrom(store.FirstRoot());
    const double firstMs = Seconds(timer) * 1000;
    timer.restart();
    const std::size_t hits = search.Count();
    const double countMs = Seconds(timer) * 1000;
    timer.restart();
    const std::size_t steps = std::min<std::size_t>(hits, 1000);
    for (std::size_t step = 0; step < steps; ++step) {
        search.Step(WTreeSearch::Direction::Forward);
    }
    const double stepsMs = Seconds(timer) * 1000;
    std::printf(
        "find_%s_first_ms %.1f (%s)\nfind_%s_count_ms %.1f (%zu hits%s)\n"
        "find_%s_next_ms %.1f (%zu steps)\n",
        name, firstMs, first == kNoItem ? "none" : std::string(store.Label(first)).c_str(), name,
        countMs, hits, search.Complete() ? "" : ", stopped", name, stepsMs, steps);
}

int Find(const char* project) {
    WTreeStore store;
    NativeHostFs fs;
    if (!LoadProjectWithDependencies(store, WFilePath(project), fs, ParseLiterals::On, nullptr)) {
        return 1;
    }
    std::printf("nodes_made %zu\n", store.Count());
    TimeFindHeadless(store, "s09999.rc", "rare");
    TimeFindHeadless(store, "h00001.h", "repeated");
    TimeFindHeadless(store, ".h", "common");
    std::printf("nodes_made_after %zu\npeak_rss_kb %ld\n", store.Count(), PeakRssKb());
    return 0;
}

// The first child of item whose label starts with prefix, or the first child.
WTreeItem Child(const WTreeStore& store, WTreeItem item, const char* prefix) {
    for (WTreeItem child = store.FirstChild(item); child != kNoItem;
         child = store.NextSibling(child)) {
        if (store.Label(child).rfind(prefix, 0) == 0) {
            return child;
        }
    }
    return store.FirstChild(item);
}

// Find as the window does it: the first hit selected and painted, then the count.
void TimeFind(WTreeView& tree, const char* text, const char* name) {
    QElapsedTimer timer;
    timer.start();
    WTreeSearch search(tree.Store(), text);
    const WTreeItem first = search.FindFrom(tree.Store().FirstRoot());
    tree.SelectItem(first);
    QCoreApplication::processEvents();
    QtTreeView(tree)->viewport()->repaint();
    const double firstMs = Seconds(timer) * 1000;
    const std::size_t hits = search.Count();
    std::printf("find_%s_first_ms %.1f\nfind_%s_count_ms %.1f (%zu hits)\n", name, firstMs, name,
                Seconds(timer) * 1000, hits);
}

void TimeExpand(WTreeView& tree, WTreeItem item, const char* name) {
    QElapsedTimer timer;
    timer.start();
    tree.Expand(item);
    QTreeView* view = QtTreeView(tree);
    view->scrollTo(QtTreeModel(tree)->IndexOf(item), QAbstractItemView::PositionAtTop);
    QCoreApplication::processEvents();
    view->viewport()->repaint();
    std::printf(
        "expand_%s_ms %.1f (%zu children)\n", name, Seconds(timer) * 1000,
        static_cast<std::size_t>(QtTreeModel(tree)->rowCount(QtTreeModel(tree)->IndexOf(item))));
}

// Whether the rows the view shows below item fill its height: item's first child with children
// is open and the rows below it reach the bottom of the view.
bool FirstScreenShown(WTreeView& tree, WTreeItem item) {
    QTreeView* view = QtTreeView(tree);
    const QModelIndex top = QtTreeModel(tree)->IndexOf(item);
    const QModelIndex first = QtTreeModel(tree)->index(0, 0, top);
    if (!view->isExpanded(top) ||
        (QtTreeModel(tree)->hasChildren(first) && !view->isExpanded(first))) {
        return false;
    }
    const QModelIndex bottom = view->indexAt(QPoint(1, view->viewport()->height() - 1));
    return !bottom.isValid() || view->isExpanded(bottom) || !QtTreeModel(tree)->hasChildren(bottom);
}

// The '*' key's work: its whole time, the time until the view is full of opened rows, and the
// longest stretch in which the window could not answer (the longest gap between turns of a 5 ms
// timer).
void TimeExpandSubtree(WTreeView& tree, WTreeItem item, const char* name) {
    QElapsedTimer all;
    QElapsedTimer sinceTick;
    qint64 longestGapNs = 0;
    qint64 firstScreenNs = -1;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapNs = std::max(longestGapNs, sinceTick.nsecsElapsed());
        sinceTick.restart();
        if (firstScreenNs < 0 && FirstScreenShown(tree, item)) {
            firstScreenNs = all.nsecsElapsed();
        }
    });
    ticker.start(5);
    all.start();
    sinceTick.start();
    tree.ExpandSubtree(item);
    longestGapNs = std::max(longestGapNs, sinceTick.nsecsElapsed());
    QCoreApplication::processEvents();
    if (firstScreenNs < 0) {
        firstScreenNs = all.nsecsElapsed();
    }
    std::printf("expand_star_%s_ms %.1f (first screen %.1f ms, longest freeze %.1f ms)\n", name,
                Seconds(all) * 1000, static_cast<double>(firstScreenNs) / 1e6,
                static_cast<double>(longestGapNs) / 1e6);
}

int Window(int argc, char** argv) {
    // Settings stay in the current folder; the bench runs from a scratch folder.
    QApplication application(argc, argv);
    RegisterProgramResources();
    if (CreateMainForm() == nullptr) {
        return 1;
    }
    QCoreApplication::processEvents();
    const WFilePath project(argv[2]);
    mainForm->parseItem->SetCheck(true);
    WFileDialog::SetNextAnswer(std::string(argv[2]));
    QElapsedTimer timer;
    timer.start();
    QtAction(*mainForm->loadItem)->trigger();
    QCoreApplication::processEvents();
    QtTreeView(*mainForm->tv_1)->viewport()->repaint();
    const double loadSeconds = Seconds(timer);
    WTreeView& tree = *mainForm->tv_1;
    const WTreeStore& store = tree.Store();
    std::printf("load_s %.3f\nnodes %zu\npeak_rss_kb %ld\n", loadSeconds, store.Count(),
                PeakRssKb());
    const WTreeItem root = store.FirstRoot();
    TimeExpand(tree, root, "project");
    const WTreeItem target = store.FirstChild(root);
    TimeExpand(tree, target, "target");
    const WTreeItem sources = Child(store, target, "Dependency Filelist");
    TimeExpand(tree, sources, "sources");
    TimeExpand(tree, store.FirstChild(sources), "first_source");
    const WTreeItem files = Child(store, target, "Filelist");
    TimeExpand(tree, files, "filelist");
    TimeExpand(tree, store.FirstChild(files), "first_extension");
    TimeExpandSubtree(tree, sources, "sources");
    if (std::getenv("GUI_LOAD_STAR_ALL") != nullptr) {
        TimeExpandSubtree(tree, root, "project");
    }
    TimeFind(tree, "s09999.rc", "rare");
    TimeFind(tree, "h00001.h", "repeated");
    TimeFind(tree, ".h", "common");
    std::printf("peak_rss_after_expand_kb %ld\n", PeakRssKb());
    QElapsedTimer closing;
    closing.start();
    DestroyMainForm();
    std::printf("close_s %.3f\n", Seconds(closing));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gui_load headless|window|find PROJECT.wpj\n");
        return 2;
    }
    if (std::strcmp(argv[1], "headless") == 0) {
        return Headless(argv[2]);
    }
    if (std::strcmp(argv[1], "window") == 0) {
        return Window(argc, argv);
    }
    if (std::strcmp(argv[1], "find") == 0) {
        return Find(argv[2]);
    }
    std::fprintf(stderr, "usage: gui_load headless|window|find PROJECT.wpj\n");
    return 2;
}

// The '*' key on a big subtree in the Win32 window, run under Wine:
//
//   win32_expand PROJECT.wpj [esc|close|nowatch]
//
// Loads the project into the main window's tree, then expands the first target's
// "Dependency Filelist" as the '*' key does. A second thread sends the window an empty message
// every few milliseconds; such a message is answered only when the window's thread turns its
// message pump, so the longest wait for an answer is the longest freeze. With "esc" the thread
// presses Esc 500 ms into the expansion, with "close" it asks the window to close then (the
// expansion goes on to its end), with "nowatch" nothing is sent. Prints the total time, the longest
// freeze and how many items the control shows.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "classlib/core/hostfs.h"
#include "classlib/gui/wtreeview.h"
#include "classlib/win32/wwin32native.h"
#include "depscan/projectload.h"
#include "mainwin/mainform.h"
#include "mainwin/tamskform.h"
#include "resources/programresources.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

WTreeItem ChildStartingWith(const WTreeStore& store, WTreeItem item, const char* prefix) {
    for (WTreeItem child = store.FirstChild(item); child != kNoItem;
         child = store.NextSibling(child)) {
        if (store.Label(child).rfind(prefix, 0) == 0) {
            return child;
        }
    }
    return kNoItem;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: win32_expand PROJECT.wpj [esc]\n");
        return 2;
    }
    const char* mode = argc > 2 ? argv[2] : "";
    const bool pressEsc = std::strcmp(mode, "esc") == 0;
    const bool askClose = std::strcmp(mode, "close") == 0;
    const bool watchFreezes = std::strcmp(mode, "nowatch") != 0;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterProgramResources();
    if (CreateMainForm() == nullptr) {
        return 1;
    }
    WTreeView& tree = *mainForm->tv_1;
    NativeHostFs fs;
    {
        WTreeView::BulkChange bulk(tree);
        ScanOutcome outcome;
        LoadProjectWithDependencies(tree.Store(), WFilePath(argv[1]), fs, ParseLiterals::On,
                                    &outcome);
    }
    const WTreeStore& store = tree.Store();
    const WTreeItem target = store.FirstChild(store.FirstRoot());
    const WTreeItem sources = ChildStartingWith(store, target, "Dependency Filelist");
    std::printf("nodes %zu\n", store.Count());
    tree.SelectItem(sources);
    HWND window = Win32Window(*mainForm);
    HWND control = Win32Window(tree);
    UpdateWindow(window);

    std::atomic<bool> running{true};
    std::atomic<bool> watching{true};
    std::atomic<double> longest{0};
    const Clock::time_point start = Clock::now();
    std::thread watch([&] {
        bool escSent = false;
        while (running && watchFreezes) {
            const Clock::time_point asked = Clock::now();
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
            longest = std::max(longest.load(), Ms(Clock::now() - asked));
            if (!escSent && Clock::now() - start > std::chrono::milliseconds(500)) {
                if (pressEsc) {
                    PostMessageW(control, WM_KEYDOWN, VK_ESCAPE, 0);
                }
                if (askClose) {
                    PostMessageW(window, WM_CLOSE, 0, 0);
                }
                escSent = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        watching = false;
    });
    tree.ExpandSubtree(sources);
    const double total = Ms(Clock::now() - start);
    const auto shown = SendMessageW(control, TVM_GETCOUNT, 0, 0);
    running = false;
    // The watch may be waiting for an answer: answer until it is done.
    while (watching) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
    watch.join();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);  // a close request held back meanwhile
    }
    std::printf("expand_star_total_ms %.0f\nlongest_freeze_ms %.0f\nitems_in_control %ld\n", total,
                longest.load(), static_cast<long>(shown));
    std::printf("window_open_at_end %d\n", IsWindow(window) && IsWindowVisible(window) ? 1 : 0);
    DestroyMainForm();
    return 0;
}

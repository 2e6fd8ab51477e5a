// Entry of the behaviour tests written against the class library's interface,
// on the Win32 backend: the common controls are registered first, as the
// application object does when the program runs.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include "resources/programresources.h"

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
    RegisterProgramResources();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "classlib/gui/wfolderbrowser.h"
#include "classlib/win32/wwin32native.h"
// After the native header, which sets the platform up.
#include <shlobj.h>

namespace {

// Opens the browser on the initial folder once it is up.
int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM folder) {
    if (message == BFFM_INITIALIZED && folder != 0) {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, folder);
    }
    return 0;
}

}  // namespace

std::optional<std::string> WFolderBrowser::ShowChooser(WWindowHandle owner, std::string_view title,
                                                       std::string_view initialFolder) {
    const std::wstring caption = Widen(title);
    const std::wstring initial = Widen(initialFolder);
    wchar_t name[MAX_PATH] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = Win32Window(owner);
    browse.pszDisplayName = name;
    browse.lpszTitle = caption.c_str();
    // Only folders of the file system can be chosen.
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = SelectInitialFolder;
    browse.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(initial.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) {
        return std::nullopt;
    }
    std::wstring path(32768, L'\0');
    const BOOL ok =
        SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!ok) {
        return std::nullopt;
    }
    return Narrow(path.c_str());
}

#include "classlib/gui/wfiledialog.h"
#include "classlib/gui/wwindow.h"
#include "classlib/win32/wwin32native.h"
// After the native header, which sets the platform up.
#include <commdlg.h>

namespace {

// The hook the explorer-style flag asks for; it leaves everything to the dialog.
UINT_PTR CALLBACK KeepDefaults(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

}  // namespace

// The platform's dialog keeps its recent-files lists in the system's own
// store, not in a settings file of the program; OFN_DONTADDTORECENT below
// keeps chosen projects out of the shell's recent documents.
void WFileDialog::KeepToolkitSettingsOff() {}

std::optional<std::string> WFileDialog::RunPlatformDialog() const {
    // Description and pattern pairs, each text ended by a null, the list by another.
    std::wstring filter;
    for (const auto& [description, pattern] : filter_) {
        filter += Widen(description) + L'\0' + Widen(pattern) + L'\0';
    }
    filter += L'\0';
    std::wstring chosen(32768, L'\0');
    const std::wstring initialFolder = Widen(GetStartFolder().View());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_ ? Win32Window(*owner_) : nullptr;
    dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.Flags = static_cast<DWORD>(flags_) | OFN_DONTADDTORECENT;
    if (dialog.Flags & OFN_ENABLEHOOK) {
        dialog.lpfnHook = KeepDefaults;
    }
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    return Narrow(chosen.c_str());
}

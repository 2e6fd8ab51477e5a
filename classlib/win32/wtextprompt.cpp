#include "classlib/gui/wtextprompt.h"

#include <string>

#include "classlib/win32/formframe.h"

namespace {

constexpr int kLabelId = 100;
constexpr int kEditId = 101;
constexpr unsigned kChild = StyleVisible | StyleChild;

struct PromptState {
    std::wstring text;
};

INT_PTR CALLBACK PromptProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* state = reinterpret_cast<PromptState*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        SetDlgItemTextW(hwnd, kEditId, state->text.c_str());
        SendDlgItemMessageW(hwnd, kEditId, EM_SETSEL, 0, -1);
        SendMessageW(hwnd, DM_REPOSITION, 0, 0);
        return TRUE;  // the edit box, the first tab stop, has the focus
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(hwnd, DWLP_USER));
            HWND edit = GetDlgItem(hwnd, kEditId);
            state->text.assign(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
            GetWindowTextW(edit, state->text.data(), static_cast<int>(state->text.size()));
            state->text.resize(state->text.size() - 1);
        }
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

std::optional<std::string> WTextPrompt::ShowPrompt(WWindowHandle owner, std::string_view title,
                                                   std::string_view label,
                                                   std::string_view initial) {
    const DialogTemplate prompt{
        "",
        StyleCaption | StyleSystemMenu | StyleSetFont,
        20,
        20,
        200,
        62,
        8,
        "MS Shell Dlg",
        title,
        {{kLabelId, kStaticClass, label, 7, 7, 186, 10, kChild | StyleLeftNoWordWrap},
         {kEditId, kEditClass, "", 7, 19, 186, 14,
          kChild | StyleTabStop | StyleBorder | StyleAutoHorizontalScroll},
         {IDOK, kButtonClass, "OK", 89, 40, 50, 14, kChild | StyleTabStop | StylePushButton},
         {IDCANCEL, kButtonClass, "Cancel", 143, 40, 50, 14,
          kChild | StyleTabStop | StylePushButton}}};
    const std::vector<WORD> bytes = BuildDialogTemplate(prompt);
    PromptState state{Widen(initial)};
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
        Win32Window(owner), PromptProcedure, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) {
        return std::nullopt;
    }
    return Narrow(state.text);
}

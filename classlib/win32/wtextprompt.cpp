#include "classlib/gui/wtextprompt.h"

#include "classlib/win32/wwin32native.h"

// Minimal on this backend: no prompt window yet, so Find asks nothing and
// does nothing (the test hook still answers).
std::optional<std::string> WTextPrompt::ShowPrompt(WWindowHandle /*owner*/,
                                                   std::string_view /*title*/,
                                                   std::string_view /*label*/,
                                                   std::string_view /*initial*/) {
    return std::nullopt;
}

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "classlib/gui/wtypes.h"

class WWindow;

// A modal prompt for one line of text over its owner. The test hook answers
// in its place, as the file dialog's does.
class WTextPrompt {
public:
    // The text entered, or nothing when the user cancelled.
    static std::optional<std::string> Ask(WWindow* owner, std::string_view title,
                                          std::string_view label, std::string_view initial);

    // Tests: the next uses take these answers in turn instead of showing a
    // window; std::nullopt answers "cancel".
    static void SetNextAnswer(std::optional<std::string> text);
    static void ClearAnswers();
    static int PendingAnswers();

private:
    // The backend's prompt window.
    static std::optional<std::string> ShowPrompt(WWindowHandle owner, std::string_view title,
                                                 std::string_view label, std::string_view initial);
};

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "classlib/gui/wtypes.h"

// The platform's folder chooser, modal over its owner. The test hook answers
// in its place, so that dialogs that browse can be driven without a window.
class WFolderBrowser {
public:
    // The chosen folder, or nothing when the user cancelled. Without an
    // initial folder the chooser opens on the one chosen last in this run.
    static std::optional<std::string> Choose(WWindowHandle owner, std::string_view title,
                                             std::string_view initialFolder);

    // Tests: the next uses take these answers in turn instead of showing a
    // window; std::nullopt answers "cancel".
    static void SetNextAnswer(std::optional<std::string> folder);
    static void ClearAnswers();
    static int PendingAnswers();
    // What the last use asked for, answered or not (the initial folder it opened on).
    static const std::string& LastTitle();
    static const std::string& LastInitialFolder();

private:
    // The backend's chooser window.
    static std::optional<std::string> ShowChooser(WWindowHandle owner, std::string_view title,
                                                  std::string_view initialFolder);
};

#include "classlib/gui/wfolderbrowser.h"

#include <deque>

namespace {

struct BrowserState {
    std::deque<std::optional<std::string>> answers;
    std::string lastTitle;
    std::string lastInitialFolder;
    std::string lastChosen;  // in this run
};

BrowserState& State() {
    static BrowserState state;
    return state;
}

}  // namespace

std::optional<std::string> WFolderBrowser::Choose(WWindowHandle owner, std::string_view title,
                                                  std::string_view initialFolder) {
    BrowserState& state = State();
    state.lastTitle = title;
    state.lastInitialFolder = initialFolder.empty() ? state.lastChosen : std::string(initialFolder);
    std::optional<std::string> chosen;
    if (!state.answers.empty()) {
        chosen = std::move(state.answers.front());
        state.answers.pop_front();
    } else {
        chosen = ShowChooser(owner, title, state.lastInitialFolder);
    }
    if (chosen) {
        state.lastChosen = *chosen;
    }
    return chosen;
}

void WFolderBrowser::SetNextAnswer(std::optional<std::string> folder) {
    State().answers.push_back(std::move(folder));
}

void WFolderBrowser::ClearAnswers() {
    State().answers.clear();
}

int WFolderBrowser::PendingAnswers() {
    return static_cast<int>(State().answers.size());
}

const std::string& WFolderBrowser::LastTitle() {
    return State().lastTitle;
}

const std::string& WFolderBrowser::LastInitialFolder() {
    return State().lastInitialFolder;
}

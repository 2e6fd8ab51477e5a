#include "classlib/gui/wfolderbrowser.h"

#include <deque>

namespace {

struct BrowserState {
    std::deque<std::optional<std::string>> answers;
    std::string lastTitle;
    std::string lastInitialFolder;
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
    state.lastInitialFolder = initialFolder;
    if (!state.answers.empty()) {
        std::optional<std::string> answer = std::move(state.answers.front());
        state.answers.pop_front();
        return answer;
    }
    return ShowChooser(owner, title, initialFolder);
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

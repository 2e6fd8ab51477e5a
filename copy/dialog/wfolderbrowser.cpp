#include "copy/dialog/wfolderbrowser.h"

#include <QDir>
#include <QFileDialog>
#include <deque>

#include "classlib/qt/wfiledialog.h"
#include "classlib/qt/wqtstring.h"

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

std::optional<std::string> WFolderBrowser::Choose(QWidget* owner, std::string_view title,
                                                  std::string_view initialFolder) {
    BrowserState& state = State();
    state.lastTitle = title;
    state.lastInitialFolder = initialFolder;
    if (!state.answers.empty()) {
        std::optional<std::string> answer = std::move(state.answers.front());
        state.answers.pop_front();
        return answer;
    }
    // Only folders of the file system can be chosen; an empty initial folder
    // leaves the starting place to the platform.
    WFileDialog::KeepToolkitSettingsOff();
    const QString chosen = QFileDialog::getExistingDirectory(
        owner, ToQString(title), ToQString(initialFolder), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return FromQString(QDir::toNativeSeparators(chosen));
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

#include "classlib/gui/wfiledialog.h"

namespace {

std::deque<std::optional<std::string>>& Answers() {
    static std::deque<std::optional<std::string>> answers;
    return answers;
}

}  // namespace

void WFileDialog::SetNextAnswer(std::optional<std::string> path) {
    Answers().push_back(std::move(path));
}

void WFileDialog::ClearAnswers() {
    Answers().clear();
}

int WFileDialog::PendingAnswers() {
    return static_cast<int>(Answers().size());
}

void WFileDialog::SetFilter(const std::vector<std::pair<std::string, std::string>>& pairs) {
    filter_.clear();
    for (const auto& pair : pairs) {
        if (pair.first.empty() && pair.second.empty()) {
            break;
        }
        filter_.push_back(pair);
    }
}

bool WFileDialog::ShowModal() {
    std::optional<std::string> answer;
    if (!Answers().empty()) {
        answer = std::move(Answers().front());
        Answers().pop_front();
    } else {
        answer = RunPlatformDialog();
    }
    chosen_.assign(1, answer ? WFilePath(std::string_view(*answer)) : WFilePath());
    return answer.has_value() && !answer->empty();
}

WFilePath WFileDialog::GetFileName(int index) const {
    if (index < 0 || index >= static_cast<int>(chosen_.size())) {
        return {};
    }
    return chosen_[index];
}

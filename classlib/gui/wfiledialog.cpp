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
    Choose(answer);
    return answer.has_value() && !answer->empty();
}

WString WFileDialog::GetStartFolder() const {
    return lastFolder_.IsEmpty() ? initialPath_ : lastFolder_;
}

void WFileDialog::SetFileName(std::string_view path) {
    Choose(std::string(path));
}

void WFileDialog::Choose(const std::optional<std::string>& answer) {
    chosen_.assign(1, answer ? WFilePath(std::string_view(*answer)) : WFilePath());
    if (answer && !answer->empty()) {
        lastFolder_ = chosen_.front().GetPart(WFilePath::Folder);
    }
}

WFilePath WFileDialog::GetFileName(int index) const {
    if (index < 0 || index >= static_cast<int>(chosen_.size())) {
        return {};
    }
    return chosen_[index];
}

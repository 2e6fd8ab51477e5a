#include "classlib/gui/wtextprompt.h"

#include <deque>
#include <utility>

#include "classlib/gui/wwindow.h"

namespace {

std::deque<std::optional<std::string>>& Answers() {
    static std::deque<std::optional<std::string>> answers;
    return answers;
}

}  // namespace

std::optional<std::string> WTextPrompt::Ask(WWindow* owner, std::string_view title,
                                            std::string_view label, std::string_view initial) {
    if (!Answers().empty()) {
        std::optional<std::string> answer = std::move(Answers().front());
        Answers().pop_front();
        return answer;
    }
    return ShowPrompt(owner ? owner->GetHandle() : WWindowHandle(), title, label, initial);
}

void WTextPrompt::SetNextAnswer(std::optional<std::string> text) {
    Answers().push_back(std::move(text));
}

void WTextPrompt::ClearAnswers() {
    Answers().clear();
}

int WTextPrompt::PendingAnswers() {
    return static_cast<int>(Answers().size());
}

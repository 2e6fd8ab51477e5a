#include "classlib/qt/wtextprompt.h"

#include <QInputDialog>
#include <deque>

#include "classlib/qt/wqtstring.h"
#include "classlib/qt/wwindow.h"

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
    bool accepted = false;
    const QString text =
        QInputDialog::getText(owner ? owner->GetWidget() : nullptr, ToQString(title),
                              ToQString(label), QLineEdit::Normal, ToQString(initial), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return FromQString(text);
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

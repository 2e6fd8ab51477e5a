#include "classlib/qt/wfiledialog.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QStringList>

#include "classlib/qt/wqtstring.h"
#include "classlib/qt/wwindow.h"

namespace {

std::deque<std::optional<std::string>>& Answers() {
    static std::deque<std::optional<std::string>> answers;
    return answers;
}

// "Watcom project file(*.wpj)" with "*.wpj" becomes "Watcom project file(*.wpj) (*.wpj)"
// unless the description already shows the pattern, as it usually does.
QString QtFilterEntry(const std::pair<std::string, std::string>& pair) {
    const QString description = ToQString(pair.first);
    QString patterns = ToQString(pair.second);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (description.contains(QLatin1Char('(')) && description.endsWith(QLatin1Char(')'))) {
        return description.left(description.lastIndexOf(QLatin1Char('('))) + QStringLiteral(" (") +
               patterns + QStringLiteral(")");
    }
    return description + QStringLiteral(" (") + patterns + QStringLiteral(")");
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

void WFileDialog::KeepToolkitSettingsOff() {
    // A path below a file: every write there fails, silently, and reads find nothing.
    static const bool done = [] {
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
        }
        return true;
    }();
    (void)done;
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

bool WFileDialog::ShowModal() {
    std::optional<std::string> answer;
    if (!Answers().empty()) {
        answer = std::move(Answers().front());
        Answers().pop_front();
    } else {
        KeepToolkitSettingsOff();
        QStringList filters;
        for (const auto& pair : filter_) {
            filters << QtFilterEntry(pair);
        }
        QWidget* owner = owner_ ? owner_->GetWidget() : nullptr;
        QString start = ToQString(GetStartFolder().View());
        if (start.isEmpty()) {
            start = QStringLiteral(".");
        }
        QFileDialog dialog(owner, QString(), QDir(start).absolutePath());
        dialog.setNameFilters(filters);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            answer = FromQString(QDir::toNativeSeparators(dialog.selectedFiles().front()));
        }
    }
    Choose(answer);
    return answer.has_value() && !answer->empty();
}

WFilePath WFileDialog::GetFileName(int index) const {
    if (index < 0 || index >= static_cast<int>(chosen_.size())) {
        return {};
    }
    return chosen_[index];
}

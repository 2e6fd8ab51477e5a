#include "classlib/gui/wfiledialog.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QStringList>

#include "classlib/gui/wwindow.h"
#include "classlib/qt/ownerfocus.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

namespace {

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

std::optional<std::string> WFileDialog::RunPlatformDialog() const {
    KeepToolkitSettingsOff();
    QStringList filters;
    for (const auto& pair : filter_) {
        filters << QtFilterEntry(pair);
    }
    QWidget* owner = owner_ ? QtWidget(*owner_) : nullptr;
    QString start = ToQString(GetStartFolder().View());
    if (start.isEmpty()) {
        start = QStringLiteral(".");
    }
    const OwnerTakesFocusBack focusBack(owner);
    QFileDialog dialog(owner, QString(), QDir(start).absolutePath());
    dialog.setNameFilters(filters);
    // A typed name that does not exist is returned, as the Win32 dialog does,
    // for the load to fail on: the dialog shows no message box of its own.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        return FromQString(QDir::toNativeSeparators(dialog.selectedFiles().front()));
    }
    return std::nullopt;
}

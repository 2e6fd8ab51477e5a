#include <QDir>
#include <QFileDialog>

#include "classlib/gui/wfiledialog.h"
#include "classlib/gui/wfolderbrowser.h"
#include "classlib/qt/ownerfocus.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

std::optional<std::string> WFolderBrowser::ShowChooser(WWindowHandle owner, std::string_view title,
                                                       std::string_view initialFolder) {
    // Only folders of the file system can be chosen; an empty initial folder
    // leaves the starting place to the platform.
    WFileDialog::KeepToolkitSettingsOff();
    const OwnerTakesFocusBack focusBack(QtWidget(owner));
    const QString chosen = QFileDialog::getExistingDirectory(
        QtWidget(owner), ToQString(title), ToQString(initialFolder), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return FromQString(QDir::toNativeSeparators(chosen));
}

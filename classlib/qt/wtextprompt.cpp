#include "classlib/gui/wtextprompt.h"

#include <QInputDialog>

#include "classlib/qt/ownerfocus.h"
#include "classlib/qt/wqtnative.h"
#include "classlib/qt/wqtstring.h"

std::optional<std::string> WTextPrompt::ShowPrompt(WWindowHandle owner, std::string_view title,
                                                   std::string_view label,
                                                   std::string_view initial) {
    bool accepted = false;
    const OwnerTakesFocusBack focusBack(QtWidget(owner));
    const QString text = QInputDialog::getText(QtWidget(owner), ToQString(title), ToQString(label),
                                               QLineEdit::Normal, ToQString(initial), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return FromQString(text);
}

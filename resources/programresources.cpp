#include "resources/programresources.h"

#include "classlib/gui/wresources.h"
#include "resources/resourceimages.h"

void RegisterProgramResources() {
    for (const DialogTemplate& dialog : ProgramDialogTemplates()) {
        RegisterDialogTemplate(dialog);
    }
    for (const MenuTemplate& menu : ProgramMenuTemplates()) {
        RegisterMenuTemplate(menu);
    }
    RegisterIcon(kApplicationIconId, ResourceIcon(kApplicationIconId, 16),
                 ResourceIcon(kApplicationIconId, 32));
    RegisterBitmap(kTreeImagesBitmapId, ResourceBitmap(kTreeImagesBitmapId));
}

#include "classlib/gui/wicon.h"

#include "resources/resourceimages.h"

bool WIcon::Load(WResourceID id) {
    icon_ = id.name.empty() ? ResourceIcon(id.number) : QIcon();
    return !icon_.isNull();
}

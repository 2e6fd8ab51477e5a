#include "classlib/gui/wicon.h"

#include "resources/resourceimages.h"

bool WIcon::Load(WResourceID id) {
    const bool exists = id.name.empty() && !ResourceIcon(id.number, kTreeImageSize).IsNull();
    resourceNumber_ = exists ? id.number : 0;
    return exists;
}

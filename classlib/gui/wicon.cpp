#include "classlib/gui/wicon.h"

#include "classlib/gui/wresources.h"

bool WIcon::Load(WResourceID id) {
    const bool exists = id.name.empty() && !FindIcon(id.number, 16).IsNull();
    resourceNumber_ = exists ? id.number : 0;
    return exists;
}

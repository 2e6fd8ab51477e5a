#pragma once

#include <string_view>

#include "classlib/core/wobject.h"

// Names a resource of the program's module, by number or by name.
struct WResourceID {
    WResourceID(int resourceNumber)
        : number(resourceNumber) {}  // NOLINT(google-explicit-constructor)
    WResourceID(const char* resourceName)
        : name(resourceName) {}  // NOLINT(google-explicit-constructor)
    int number = 0;
    std::string_view name;
};

// An icon loaded from the module's icon resources.
class WIcon : public WObject {
public:
    WIcon() = default;
    explicit WIcon(WResourceID id) { Load(id); }
    // False when the module has no icon of that id.
    bool Load(WResourceID id);
    bool IsNull() const { return resourceNumber_ == 0; }
    // The icon resource it shows; 0 for none.
    int GetResourceNumber() const { return resourceNumber_; }

private:
    int resourceNumber_ = 0;
};

#pragma once

// Root of the class library: every object that a tree item can own, and every
// reader, scanner and form, derives from it so that ownership can be handed
// around through a single base pointer.
class WObject {
public:
    WObject() = default;
    WObject(const WObject&) = default;
    WObject& operator=(const WObject&) = default;
    WObject(WObject&&) = default;
    WObject& operator=(WObject&&) = default;
    virtual ~WObject() = default;
};

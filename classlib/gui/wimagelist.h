#pragma once

#include <vector>

#include "classlib/core/wobject.h"
#include "classlib/gui/wicon.h"
#include "classlib/gui/wimage.h"

// An RGB colour; "unset" where a colour is optional.
struct WColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool set = true;
    static WColor Unset() { return {0, 0, 0, false}; }
};

// Images of equal width cut from a bitmap strip of the program's module.
class WImageList : public WObject {
public:
    // Cuts the strip into images imageWidth pixels wide; pixels of the mask
    // colour become transparent. growBy is kept for the platform's sake.
    // The images are drawn for normal and high-density screens alike.
    bool Load(WResourceID bitmap, int imageWidth, int growBy, WColor mask);
    int GetCount() const { return static_cast<int>(images_.size()); }
    // Each image at the normal and at twice the density; masked pixels are transparent.
    const std::vector<WImage>& GetImages() const { return images_; }
    const std::vector<WImage>& GetDenseImages() const { return denseImages_; }
    // Background colour given to the control that shows the images.
    void SetBackgroundColor(WColor color) { background_ = color; }
    WColor GetBackgroundColor() const { return background_; }

private:
    std::vector<WImage> images_;
    std::vector<WImage> denseImages_;
    WColor background_ = WColor::Unset();
};

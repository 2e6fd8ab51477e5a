#pragma once

#include <cstdint>
#include <vector>

// A picture as pixels, the form in which the program's module holds its images
// and every backend takes them: rows from the top, 0xAARRGGBB per pixel.
struct WImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool IsNull() const { return width <= 0 || height <= 0; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // The part of the image at x (full height), width pixels wide.
    WImage Column(int x, int columnWidth) const;
    // Each pixel becomes factor by factor pixels.
    WImage Scaled(int factor) const;
    // Pixels of the colour 0xRRGGBB become fully transparent.
    void MakeTransparent(std::uint32_t rgb);
};

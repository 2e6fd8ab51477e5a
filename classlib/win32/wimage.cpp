#include "classlib/gui/wimagelist.h"
#include "classlib/win32/wwin32native.h"

HICON Win32Icon(const WImage& image) {
    if (image.IsNull()) {
        return nullptr;
    }
    // A top-down 32-bit colour bitmap with its alpha, and an empty mask: the
    // alpha channel alone decides what is transparent.
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = image.width;
    header.bV5Height = -image.height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (colour == nullptr) {
        return nullptr;
    }
    // 0xAARRGGBB in memory is the bitmap's B, G, R, A byte order.
    CopyMemory(bits, image.pixels.data(), image.pixels.size() * sizeof(image.pixels[0]));
    HBITMAP mask = CreateBitmap(image.width, image.height, 1, 1, nullptr);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

// The list's images at the density of the window's screen.
HIMAGELIST Win32ImageList(const WImageList& images, HWND window) {
    HDC screen = GetDC(window);
    const bool dense = GetDeviceCaps(screen, LOGPIXELSX) >= 192;
    ReleaseDC(window, screen);
    const std::vector<WImage>& source = dense ? images.GetDenseImages() : images.GetImages();
    if (source.empty()) {
        return nullptr;
    }
    HIMAGELIST list = ImageList_Create(source.front().width, source.front().height,
                                       ILC_COLOR32 | ILC_MASK, static_cast<int>(source.size()), 4);
    for (const WImage& image : source) {
        HICON icon = Win32Icon(image);
        ImageList_ReplaceIcon(list, -1, icon);
        DestroyIcon(icon);
    }
    return list;
}

#pragma once

#include <string_view>

#include "classlib/gui/wimage.h"
#include "classlib/gui/wtemplates.h"

// The resources of the program's module: dialog and menu templates by name, icons and bitmaps by
// number. The library holds none of its own; the program registers its resources when it starts,
// before it makes its first window, and the library finds them here when a form, a menu or an
// image list asks for one by name or number.

// Each registration keeps a copy; a later one of the same name or number takes the place of the
// earlier one. A template's texts are views: they must live as long as the program (literals).
void RegisterDialogTemplate(const DialogTemplate& dialog);
void RegisterMenuTemplate(const MenuTemplate& menu);
// An icon drawn at 16 pixels square and at 32.
void RegisterIcon(int id, WImage small, WImage large);
void RegisterBitmap(int id, WImage bitmap);

// Null when no template of that name was registered (names compare exactly).
const DialogTemplate* FindDialogTemplate(std::string_view name);
const MenuTemplate* FindMenuTemplate(std::string_view name);
// The icon drawn for size pixels square (above 16 the larger picture); a null image when no icon
// of that id was registered.
WImage FindIcon(int id, int size);
// A null image when no bitmap of that id was registered.
WImage FindBitmap(int id);

#include "classlib/gui/wresources.h"

#include <map>
#include <string>
#include <utility>

namespace {

struct IconPictures {
    WImage small;
    WImage large;
};

// Map nodes stay in place, so what Find gives stays valid until its name is registered again.
struct Registry {
    std::map<std::string, DialogTemplate, std::less<>> dialogs;
    std::map<std::string, MenuTemplate, std::less<>> menus;
    std::map<int, IconPictures> icons;
    std::map<int, WImage> bitmaps;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

template <typename Map, typename Key>
const typename Map::mapped_type* Lookup(const Map& map, const Key& key) {
    const auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

}  // namespace

void RegisterDialogTemplate(const DialogTemplate& dialog) {
    TheRegistry().dialogs.insert_or_assign(std::string(dialog.name), dialog);
}

void RegisterMenuTemplate(const MenuTemplate& menu) {
    TheRegistry().menus.insert_or_assign(std::string(menu.name), menu);
}

void RegisterIcon(int id, WImage small, WImage large) {
    TheRegistry().icons.insert_or_assign(id, IconPictures{std::move(small), std::move(large)});
}

void RegisterBitmap(int id, WImage bitmap) {
    TheRegistry().bitmaps.insert_or_assign(id, std::move(bitmap));
}

const DialogTemplate* FindDialogTemplate(std::string_view name) {
    return Lookup(TheRegistry().dialogs, name);
}

const MenuTemplate* FindMenuTemplate(std::string_view name) {
    return Lookup(TheRegistry().menus, name);
}

WImage FindIcon(int id, int size) {
    const IconPictures* icon = Lookup(TheRegistry().icons, id);
    if (icon == nullptr) {
        return {};
    }
    return size <= 16 ? icon->small : icon->large;
}

WImage FindBitmap(int id) {
    const WImage* bitmap = Lookup(TheRegistry().bitmaps, id);
    return bitmap == nullptr ? WImage{} : *bitmap;
}

#pragma once

#include <string_view>
#include <vector>

// Dialog and menu templates of the program's module, kept as plain data so that
// the window library can build forms from them by name (classlib/gui/wresources.h). Positions and sizes
// are in dialog units; the window library converts them through the form
// font's metrics.

// Window style bits a template can ask for.
enum WindowStyle : unsigned {
    StyleVisible = 1u << 0,
    StyleCaption = 1u << 1,
    StyleSystemMenu = 1u << 2,
    StyleSizingBorder = 1u << 3,
    StyleMinimizeBox = 1u << 4,
    StyleMaximizeBox = 1u << 5,
    StyleSetFont = 1u << 6,
    StyleChild = 1u << 7,
    StyleTabStop = 1u << 8,
    StyleBorder = 1u << 9,
    StyleClientEdge = 1u << 10,
    StyleAutoHorizontalScroll = 1u << 11,
    StyleHasButtons = 1u << 12,
    StyleHasLines = 1u << 13,
    StyleLinesAtRoot = 1u << 14,
    StyleShowSelectionAlways = 1u << 15,
    StyleReportView = 1u << 16,
    StyleShareImageLists = 1u << 17,
    StyleAutoArrange = 1u << 18,
    StyleLeftNoWordWrap = 1u << 19,
    StyleNotify = 1u << 20,
    StylePushButton = 1u << 21,
};

// Control classes, named as the platform names them.
inline constexpr std::string_view kTreeViewClass = "SysTreeView32";
inline constexpr std::string_view kListViewClass = "SysListView32";
inline constexpr std::string_view kEditClass = "Edit";
inline constexpr std::string_view kStaticClass = "Static";
inline constexpr std::string_view kButtonClass = "Button";

struct DialogItemTemplate {
    int id = 0;
    std::string_view className;
    std::string_view text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    unsigned style = 0;
};

struct DialogTemplate {
    std::string_view name;
    unsigned style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int pointSize = 8;
    std::string_view fontFace;
    std::string_view title;
    std::vector<DialogItemTemplate> items;
};

enum MenuItemFlags : unsigned {
    MenuNormal = 0,
    MenuPopup = 1u << 0,
    MenuSeparator = 1u << 1,
    MenuGrayed = 1u << 2,
    MenuChecked = 1u << 3,
};

struct MenuItemTemplate {
    int id = 0;
    std::string_view text;
    unsigned flags = MenuNormal;
    std::vector<MenuItemTemplate> children;  // only for MenuPopup
};

struct MenuTemplate {
    std::string_view name;
    std::vector<MenuItemTemplate> items;  // the menu bar's entries
};

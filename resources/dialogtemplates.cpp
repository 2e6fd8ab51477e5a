#include "resources/programresources.h"

#include <array>

namespace {

constexpr unsigned kFormStyle = StyleVisible | StyleCaption | StyleSystemMenu | StyleSizingBorder |
                                StyleMinimizeBox | StyleMaximizeBox | StyleSetFont;

const std::array<DialogTemplate, 2>& DialogTemplates() {
    static const std::array<DialogTemplate, 2> templates{{
        {"ID_TamskForm",
         kFormStyle,
         571,
         323,
         259,
         247,
         8,
         "MS Sans Serif",
         "",
         {
             {102, kTreeViewClass, "", 5, 10, 250, 180,
              StyleChild | StyleVisible | StyleHasButtons | StyleHasLines | StyleLinesAtRoot |
                  StyleShowSelectionAlways},
         }},
        {"ID_WPJCopy",
         kFormStyle,
         -156,
         307,
         293,
         191,
         8,
         "MS Sans Serif",
         "",
         {
             {101, kEditClass, "", 5, 14, 225, 12,
              StyleChild | StyleVisible | StyleBorder | StyleClientEdge |
                  StyleAutoHorizontalScroll},
             {102, kStaticClass, "&Destination:", 5, 5, 70, 10,
              StyleChild | StyleVisible | StyleLeftNoWordWrap | StyleNotify},
             {103, kButtonClass, "&Browse...", 235, 14, 54, 14,
              StyleChild | StyleVisible | StylePushButton | StyleTabStop},
             {104, kListViewClass, "", 5, 30, 284, 132,
              StyleChild | StyleVisible | StyleReportView | StyleShareImageLists |
                  StyleAutoArrange | StyleClientEdge},
             {105, kButtonClass, "Copy", 113, 170, 62, 13,
              StyleChild | StyleVisible | StylePushButton | StyleTabStop},
         }},
    }};
    return templates;
}

const MenuTemplate& TamskFormMenu() {
    static const MenuTemplate menu{
        "ID_TamskForm_menu_1",
        {
            {0,
             "&File",
             MenuPopup,
             {
                 {1001, "&Load Watcom Project...", MenuNormal, {}},
                 {1002, "&Export Dependencies to <projectname>_dep.txt", MenuGrayed, {}},
                 {0, "", MenuSeparator, {}},
                 {1004, "&Parse project files for filenames in string literals", MenuNormal, {}},
                 {1005, "&Copy Project Files...", MenuNormal, {}},
                 {0, "", MenuSeparator, {}},
                 {1007, "E&xit", MenuNormal, {}},
             }},
            // The tree's keys, where a user looks for them.
            {0,
             "&View",
             MenuPopup,
             {
                 {1101, "&Find...\tCtrl+F", MenuNormal, {}},
                 {1102, "Find &Next\tF3", MenuNormal, {}},
                 {1103, "Find &Previous\tShift+F3", MenuNormal, {}},
                 {0, "", MenuSeparator, {}},
                 {1104, "&Expand All Below\t*", MenuNormal, {}},
             }},
        }};
    return menu;
}

}  // namespace

std::span<const DialogTemplate> ProgramDialogTemplates() {
    return DialogTemplates();
}

std::span<const MenuTemplate> ProgramMenuTemplates() {
    return {&TamskFormMenu(), 1};
}

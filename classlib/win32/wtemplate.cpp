#include <vector>

#include "classlib/gui/wresources.h"
#include "classlib/win32/formframe.h"

namespace {

struct StyleBit {
    unsigned library;
    DWORD style;
    DWORD extendedStyle;
};

// The library's style bits in the platform's terms; which bits a control
// class reads depends on the class.
DWORD WindowStyleOf(unsigned style, std::string_view className, DWORD& extended) {
    static const StyleBit common[] = {
        {StyleVisible, WS_VISIBLE, 0},          {StyleCaption, WS_CAPTION, 0},
        {StyleSystemMenu, WS_SYSMENU, 0},       {StyleSizingBorder, WS_THICKFRAME, 0},
        {StyleMinimizeBox, WS_MINIMIZEBOX, 0},  {StyleMaximizeBox, WS_MAXIMIZEBOX, 0},
        {StyleSetFont, DS_SETFONT, 0},          {StyleChild, WS_CHILD, 0},
        {StyleTabStop, WS_TABSTOP, 0},          {StyleBorder, WS_BORDER, 0},
        {StyleClientEdge, 0, WS_EX_CLIENTEDGE},
    };
    static const StyleBit tree[] = {
        {StyleHasButtons, TVS_HASBUTTONS, 0},
        {StyleHasLines, TVS_HASLINES, 0},
        {StyleLinesAtRoot, TVS_LINESATROOT, 0},
        {StyleShowSelectionAlways, TVS_SHOWSELALWAYS, 0},
    };
    static const StyleBit list[] = {
        {StyleReportView, LVS_REPORT, 0},
        {StyleShareImageLists, LVS_SHAREIMAGELISTS, 0},
        {StyleAutoArrange, LVS_AUTOARRANGE, 0},
    };
    static const StyleBit edit[] = {{StyleAutoHorizontalScroll, ES_AUTOHSCROLL, 0}};
    static const StyleBit label[] = {{StyleLeftNoWordWrap, SS_LEFTNOWORDWRAP, 0},
                                     {StyleNotify, SS_NOTIFY, 0}};
    static const StyleBit button[] = {{StylePushButton, BS_PUSHBUTTON, 0}};
    DWORD result = 0;
    extended = 0;
    auto apply = [&](const auto& table) {
        for (const StyleBit& bit : table) {
            if (style & bit.library) {
                result |= bit.style;
                extended |= bit.extendedStyle;
            }
        }
    };
    apply(common);
    if (className == kTreeViewClass) {
        apply(tree);
    } else if (className == kListViewClass) {
        apply(list);
    } else if (className == kEditClass) {
        apply(edit);
    } else if (className == kStaticClass) {
        apply(label);
    } else if (className == kButtonClass) {
        apply(button);
    }
    return result;
}

class TemplateWriter {
public:
    void Word(WORD value) { words_.push_back(value); }
    void DoubleWord(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(std::string_view text) {
        for (const wchar_t c : Widen(text)) {
            Word(static_cast<WORD>(c));
        }
        Word(0);
    }
    void AlignToDoubleWord() {
        if (words_.size() % 2 != 0) {
            Word(0);
        }
    }
    std::vector<WORD> Take() { return std::move(words_); }

private:
    std::vector<WORD> words_;
};

}  // namespace

std::vector<WORD> BuildDialogTemplate(std::string_view templateName) {
    const DialogTemplate* dialog = FindDialogTemplate(templateName);
    return dialog == nullptr ? std::vector<WORD>() : BuildDialogTemplate(*dialog);
}

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialogTemplate) {
    const DialogTemplate* dialog = &dialogTemplate;
    TemplateWriter out;
    DWORD extended = 0;
    const DWORD style =
        (WindowStyleOf(dialog->style, {}, extended) & ~WS_VISIBLE) | DS_SETFONT | WS_CLIPCHILDREN;
    out.DoubleWord(style);
    out.DoubleWord(extended);
    out.Word(static_cast<WORD>(dialog->items.size()));
    for (int value : {dialog->x, dialog->y, dialog->width, dialog->height}) {
        out.Word(static_cast<WORD>(static_cast<short>(value)));
    }
    out.Word(0);  // no menu: the form attaches its own
    out.Word(0);  // the standard dialog class
    out.Text(dialog->title);
    out.Word(static_cast<WORD>(dialog->pointSize));
    out.Text(DialogFontFace(dialog->fontFace));
    for (const DialogItemTemplate& item : dialog->items) {
        out.AlignToDoubleWord();
        DWORD itemExtended = 0;
        // Items that overlap paint in their z-order: the copy dialog's label
        // reaches a pixel into the box below it and would cover its border.
        out.DoubleWord(WindowStyleOf(item.style, item.className, itemExtended) | WS_CLIPSIBLINGS);
        out.DoubleWord(itemExtended);
        for (int value : {item.x, item.y, item.width, item.height}) {
            out.Word(static_cast<WORD>(static_cast<short>(value)));
        }
        out.Word(static_cast<WORD>(item.id));
        out.Text(item.className);
        out.Text(item.text);
        out.Word(0);  // no creation data
    }
    return out.Take();
}

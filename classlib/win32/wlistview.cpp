#include "classlib/gui/wlistview.h"

#include <algorithm>

#include "classlib/win32/wwin32native.h"

// Keeps the platform's report view in step with the list's store. The run that
// appends rows holds the only thread, so every few tens of milliseconds the
// control is painted at once to show the rows coming.
class ListBridge : public WListStoreObserver {
public:
    explicit ListBridge(WListStore& store) : store_(store) { store_.SetObserver(this); }
    ~ListBridge() override { store_.SetObserver(nullptr); }

    void Attach(HWND list) {
        list_ = list;
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     LVS_EX_FULLROWSELECT);
        extraMargin_ = std::max(0, WidestOwnMargin() - WListStore::kCellPadding);
        ColumnsChanged();
    }

    void ColumnsChanged() override {
        if (!Usable()) {
            return;
        }
        while (SendMessageW(list_, LVM_DELETECOLUMN, 0, 0)) {
        }
        for (int column = 0; column < store_.ColumnCount(); ++column) {
            const WListStore::Column& info = store_.ColumnAt(column);
            std::wstring header = Widen(info.header);
            LVCOLUMNW entry{};
            entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
            entry.fmt = info.alignment == WColumnAlignment::Right    ? LVCFMT_RIGHT
                        : info.alignment == WColumnAlignment::Center ? LVCFMT_CENTER
                                                                     : LVCFMT_LEFT;
            entry.cx = info.width;
            entry.pszText = header.data();
            entry.iSubItem = column;
            SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
        }
        AllRowsRemoved();
        for (int row = 0; row < store_.RowCount(); ++row) {
            RowAppended(row);
        }
    }

    void RowAppended(int row) override {
        if (!Usable()) {
            return;
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        std::wstring text = Widen(store_.Cell(row, 0));
        item.pszText = text.data();
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < store_.ColumnCount(); ++column) {
            CellChanged(row, column);
        }
        ShowProgress(row);
    }

    void CellChanged(int row, int column) override {
        if (!Usable()) {
            return;
        }
        LVITEMW item{};
        item.iSubItem = column;
        std::wstring text = Widen(store_.Cell(row, column));
        item.pszText = text.data();
        SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }

    void ColumnWidthChanged(int column) override {
        if (Usable()) {
            SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, store_.ColumnAt(column).width);
        }
    }

    void AllRowsRemoved() override {
        if (Usable()) {
            SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
        }
    }

    // The width of text in the control's own font. Where the control draws a
    // cell inside margins wider than the padding the store adds, the text
    // takes the rest, so that a fitted column never cuts it.
    int Measure(std::string_view text) const {
        return Usable() ? StringWidth(Widen(text)) + extraMargin_ : 0;
    }

private:
    bool Usable() const { return list_ != nullptr && IsWindow(list_); }

    int StringWidth(const std::wstring& text) const {
        return static_cast<int>(
            SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }

    // The control's own margins around a cell's text, both sides together,
    // in the first column and in the others (which the platform draws
    // differently): each fitted by the control itself to a probe row, then
    // the probe taken out again. Called on the empty control.
    int WidestOwnMargin() {
        std::wstring probe = L"copied";
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH | LVCF_SUBITEM;
        for (int at = 0; at < 2; ++at) {
            column.iSubItem = at;
            SendMessageW(list_, LVM_INSERTCOLUMNW, at, reinterpret_cast<LPARAM>(&column));
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.pszText = probe.data();
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        SendMessageW(list_, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
        int widest = 0;
        for (int at = 0; at < 2; ++at) {
            SendMessageW(list_, LVM_SETCOLUMNWIDTH, at, LVSCW_AUTOSIZE);
            widest =
                std::max(widest, static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, at, 0)));
        }
        SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
        while (SendMessageW(list_, LVM_DELETECOLUMN, 0, 0)) {
        }
        return widest - StringWidth(probe);
    }

    void ShowProgress(int row) {
        const DWORD now = GetTickCount();
        if (now - lastPaint_ < 50 || !IsWindowVisible(list_)) {
            return;
        }
        lastPaint_ = now;
        SendMessageW(list_, LVM_ENSUREVISIBLE, row, FALSE);
        UpdateWindow(list_);
    }

    WListStore& store_;
    HWND list_ = nullptr;
    DWORD lastPaint_ = 0;
    int extraMargin_ = 0;
};

WListView::WListView() : native_(std::make_unique<Native>()) {
    native_->bridge = std::make_unique<ListBridge>(store_);
}

WListView::~WListView() {
    store_.SetTextMeasure(nullptr);
}

bool WListView::Accepts(WWindowHandle item) const {
    HWND hwnd = Win32Window(item);
    return hwnd != nullptr && lstrcmpiW(WindowClass(hwnd).c_str(), WC_LISTVIEWW) == 0;
}

void WListView::Attached() {
    ListBridge* bridge = native_->bridge.get();
    bridge->Attach(Win32Window(*this));
    store_.SetTextMeasure([bridge](std::string_view text) { return bridge->Measure(text); });
}

void WListView::ShowProgress() {}

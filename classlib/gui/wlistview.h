#pragma once

#include <memory>
#include <string_view>

#include "classlib/core/wliststore.h"
#include "classlib/gui/wcontrol.h"

// The report-view list control: shows its item store, whose rows appear as
// they are appended, also during a long run inside one handler. Column widths
// are measured with the control's font.
class WListView : public WControl {
public:
    WListView();
    ~WListView() override;

    WListStore& Store() { return store_; }
    const WListStore& Store() const { return store_; }

    int AddColumn(std::string_view header, int position = WListStore::kAppend, int width = -1,
                  WColumnAlignment alignment = WColumnAlignment::Left) {
        return store_.AddColumn(header, position, width, alignment);
    }
    int AppendRow(std::string_view firstCell) { return store_.AppendRow(firstCell); }
    bool SetCell(int row, int column, std::string_view text) {
        return store_.SetCell(row, column, text);
    }
    bool SetColumnWidth(int column, int width) { return store_.SetColumnWidth(column, width); }

    // The backend's record of the control; defined in the backend's headers.
    struct Native;
    Native& GetListNative() const { return *native_; }

protected:
    bool Accepts(WWindowHandle item) const override;
    void Attached() override;

private:
    void ShowProgress();

    WListStore store_;
    std::unique_ptr<Native> native_;
};

#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <memory>

#include "classlib/core/wtreestore.h"
#include "classlib/gui/wcontrol.h"

class WImageList;

// Data of DeleteItemEvent: the deleted item and its data object. A handler
// that destroys the object does so with DestroyData; what no handler takes is
// destroyed with the item anyway, so nothing leaks and nothing goes twice.
class WTreeDeleteItemData : public WObject {
public:
    WTreeDeleteItemData(WTreeItem item, std::unique_ptr<WObject>& data)
        : item_(item), data_(data) {}
    WTreeItem GetItem() const { return item_; }
    WObject* GetData() const { return data_.get(); }
    void DestroyData() { data_.reset(); }

private:
    WTreeItem item_;
    std::unique_ptr<WObject>& data_;
};

// The tree view control: shows its item store, which holds the items also
// while no window exists. Every deleted item fires DeleteItemEvent with a
// WTreeDeleteItemData.
class WTreeView : public WControl {
public:
    WTreeView();
    ~WTreeView() override;

    WTreeStore& Store() { return store_; }
    const WTreeStore& Store() const { return store_; }

    WTreeItem AddItem(std::string_view label, WTreeItem parent, int image, int selectedImage,
                      WTreePosition position, std::unique_ptr<WObject> data = nullptr) {
        return store_.Add(label, parent, image, selectedImage, position, std::move(data));
    }
    WTreeItem GetRelative(WTreeItem item, WTreeRelation relation) const {
        return store_.GetRelative(item, relation);
    }
    WString GetItemText(WTreeItem item) const { return store_.GetLabel(item); }
    WObject* GetItemData(WTreeItem item) const { return store_.GetData(item); }
    bool DeleteItem(WTreeItem item) { return store_.Delete(item); }
    // Deletes every item, firing DeleteItemEvent for each.
    void DeleteAllItems();

    // Many changes at once (a load): the view follows once at the end.
    class BulkChange {
    public:
        explicit BulkChange(WTreeView& view);
        ~BulkChange();
        BulkChange(const BulkChange&) = delete;
        BulkChange& operator=(const BulkChange&) = delete;

    private:
        WTreeView& view_;
    };

    // The normal image list; the view copies the images.
    void SetImageList(const WImageList& images);
    void Expand(WTreeItem item);
    void Collapse(WTreeItem item);
    bool IsExpanded(WTreeItem item) const;
    // Expands the path to item, makes it the current and selected item and
    // scrolls it into view.
    void SelectItem(WTreeItem item);
    // The current item; kNoItem when there is none.
    WTreeItem GetSelectedItem() const;
    // How an ExpandSubtree ended: all opened, stopped by Esc, or stopped at
    // the work limit.
    enum class ExpandEnd { Whole, Escaped, AtWorkLimit };
    // Expands item and everything below it, as the '*' key does. The work is
    // done in slices under the wait cursor: the window keeps painting, other
    // input waits, and Esc stops it with what was done so far shown. Once it
    // has brought more rows than the work limit into the tree it stops as Esc
    // stops it. The expand handler learns how it ended.
    void ExpandSubtree(WTreeItem item);
    // The rows one ExpandSubtree may bring into the tree (none by default).
    void SetWorkLimit(std::size_t rows) { workLimit_ = rows; }
    // Called at the end of each ExpandSubtree, from the '*' key as from a command.
    void SetExpandHandler(std::function<void(ExpandEnd)> handler) {
        expandHandler_ = std::move(handler);
    }

    // The backend's record of the control; defined in the backend's headers.
    struct Native;
    Native& GetTreeNative() const { return *native_; }

protected:
    bool Accepts(WWindowHandle item) const override;
    void Attached() override;

private:
    void ExpandEnded(ExpandEnd end) {
        if (expandHandler_) {
            expandHandler_(end);
        }
    }

    WTreeStore store_;
    std::unique_ptr<Native> native_;
    std::size_t workLimit_ = std::numeric_limits<std::size_t>::max();
    std::function<void(ExpandEnd)> expandHandler_;
};

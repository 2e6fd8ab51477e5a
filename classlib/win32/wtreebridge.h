#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "classlib/core/wtreestore.h"
#include "classlib/win32/wwin32native.h"

// Shows a WTreeStore in the platform's tree view without copying it: an item
// is inserted into the control only when its parent is first expanded, and
// labels, images and whether an item has children are asked for when drawn.
// A tree of millions of items so shows at once.
class TreeBridge : public WTreeStoreObserver {
public:
    explicit TreeBridge(WTreeStore& store);
    ~TreeBridge() override;

    void Attach(HWND tree);
    void BeginBulkChange();
    void EndBulkChange();

    // The answer to a notification of the control.
    LRESULT OnNotify(const NMHDR* header);
    // Inserts the item's ancestors' children as needed; null when not shown.
    HTREEITEM Show(WTreeItem item);
    bool IsExpanded(WTreeItem item) const;

    // WTreeStoreObserver
    void ItemAdded(WTreeItem item) override;
    void ItemAboutToBeRemoved(WTreeItem item) override;
    void ItemRemoved(WTreeItem parent) override;
    void LabelChanged(WTreeItem item) override;
    void AllRemoved() override;

private:
    void Reset();
    void InsertChildren(WTreeItem parent, HTREEITEM parentHandle);
    HTREEITEM Insert(WTreeItem item, HTREEITEM parentHandle, HTREEITEM after);
    void Repaint();

    WTreeStore& store_;
    HWND tree_ = nullptr;
    int bulkDepth_ = 0;
    std::unordered_map<WTreeItem, HTREEITEM> shown_;
    std::unordered_set<WTreeItem> filled_;  // parents whose children are inserted
    std::wstring text_;                     // the label last handed to the control
};

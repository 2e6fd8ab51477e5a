#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>
#include <memory>
#include <vector>

#include "classlib/core/witemtable.h"
#include "classlib/core/wtreestore.h"

// Shows a WTreeStore to Qt's views. The store keeps its children as linked
// lists, which would make every row lookup a walk; so the model keeps, for each
// parent that a view has asked about, a vector of its children, made on first
// use and kept in step with the store's notifications. A tree of millions of
// items costs nothing here until its nodes are expanded.
//
// Each index carries a pointer to its parent's child table, which knows the
// parent's own row and table: so parent() needs no search either.
class WTreeModel : public QAbstractItemModel, public WTreeStoreObserver {
public:
    explicit WTreeModel(WTreeStore& store, QObject* parent = nullptr);
    ~WTreeModel() override;

    // While bulk mode is on the model ignores the store; ending it resets the
    // model once. For loads that add millions of items at a time.
    void BeginBulkChange();
    void EndBulkChange();
    bool InBulkChange() const { return bulkDepth_ > 0; }

    void SetIcons(QList<QIcon> icons);
    WTreeItem ItemOf(const QModelIndex& index) const;
    // How many parents have their child table made (the model's memory use).
    std::size_t CachedTableCount() const { return tableCount_; }
    QModelIndex IndexOf(WTreeItem item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    bool hasChildren(const QModelIndex& parent) const override;
    // Children that the store's child source makes on demand come when a
    // view first asks for them.
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // Makes the children of index when they are still to be made.
    void FetchIfNeeded(const QModelIndex& index);
    QVariant data(const QModelIndex& index, int role) const override;

    // WTreeStoreObserver
    void ItemAdded(WTreeItem item) override;
    void ItemAboutToBeRemoved(WTreeItem item) override;
    void ItemRemoved(WTreeItem parent) override;
    void LabelChanged(WTreeItem item) override;
    void AllRemoved() override;

private:
    struct ChildTable {
        WTreeItem item = kNoItem;           // whose children these are; kNoItem for the top level
        int row = 0;                        // the item's own row
        ChildTable* parentTable = nullptr;  // the table holding the item
        std::vector<WTreeItem> children;
    };

    ChildTable& RootTable() const;
    ChildTable* TableOf(const QModelIndex& parent) const;
    ChildTable* ExistingTable(WTreeItem item) const;
    ChildTable& MakeTable(WTreeItem item, int row, ChildTable* parentTable) const;
    QModelIndex IndexInTable(const ChildTable& table) const;
    void Renumber(ChildTable& table, std::size_t from);
    void DropTablesBelow(WTreeItem item);
    void NotifyFirstChild(WTreeItem parentItem);
    void ResetTables();

    WTreeStore& store_;
    mutable std::unique_ptr<ChildTable> root_;
    // By item: a map grown by rehashing would stall a long run of expansions.
    mutable WItemTable<std::unique_ptr<ChildTable>> tables_;
    mutable std::size_t tableCount_ = 0;
    QList<QIcon> icons_;
    int bulkDepth_ = 0;
    // Set between ItemAboutToBeRemoved and ItemRemoved of a removal the view knows.
    ChildTable* removingFrom_ = nullptr;
    WTreeItem removingItem_ = kNoItem;
};

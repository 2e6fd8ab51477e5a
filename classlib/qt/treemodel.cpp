#include "classlib/qt/treemodel.h"

#include <algorithm>

#include "classlib/qt/wqtstring.h"

WTreeModel::WTreeModel(WTreeStore& store, QObject* parent)
    : QAbstractItemModel(parent), store_(store) {
    store_.SetObserver(this);
}

WTreeModel::~WTreeModel() {
    store_.SetObserver(nullptr);
}

void WTreeModel::BeginBulkChange() {
    if (bulkDepth_++ == 0) {
        beginResetModel();
        ResetTables();
    }
}

void WTreeModel::EndBulkChange() {
    if (bulkDepth_ > 0 && --bulkDepth_ == 0) {
        ResetTables();
        endResetModel();
    }
}

void WTreeModel::SetIcons(QList<QIcon> icons) {
    icons_ = std::move(icons);
}

void WTreeModel::ResetTables() {
    tables_.Clear();
    tableCount_ = 0;
    root_.reset();
    removingFrom_ = nullptr;
    removingItem_ = kNoItem;
}

WTreeModel::ChildTable& WTreeModel::RootTable() const {
    if (!root_) {
        root_ = std::make_unique<ChildTable>();
        for (WTreeItem child = store_.FirstRoot(); child != kNoItem;
             child = store_.NextSibling(child)) {
            root_->children.push_back(child);
        }
    }
    return *root_;
}

WTreeModel::ChildTable* WTreeModel::ExistingTable(WTreeItem item) const {
    if (item == kNoItem) {
        return root_.get();
    }
    const auto* slot = tables_.Find(item);
    return slot ? slot->get() : nullptr;
}

WTreeModel::ChildTable& WTreeModel::MakeTable(WTreeItem item, int row,
                                              ChildTable* parentTable) const {
    auto table = std::make_unique<ChildTable>();
    table->item = item;
    table->row = row;
    table->parentTable = parentTable;
    for (WTreeItem child = store_.FirstChild(item); child != kNoItem;
         child = store_.NextSibling(child)) {
        table->children.push_back(child);
    }
    ChildTable& made = *table;
    std::unique_ptr<ChildTable>& slot = tables_.At(item);
    tableCount_ += slot ? 0 : 1;
    slot = std::move(table);
    return made;
}

WTreeModel::ChildTable* WTreeModel::TableOf(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return &RootTable();
    }
    if (parent.model() != this) {
        return nullptr;
    }
    auto* holder = static_cast<ChildTable*>(parent.internalPointer());
    if (holder == nullptr || parent.row() < 0 ||
        parent.row() >= static_cast<int>(holder->children.size())) {
        return nullptr;
    }
    const WTreeItem item = holder->children[parent.row()];
    if (ChildTable* existing = ExistingTable(item)) {
        return existing;
    }
    return &MakeTable(item, parent.row(), holder);
}

WTreeItem WTreeModel::ItemOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return kNoItem;
    }
    auto* holder = static_cast<ChildTable*>(index.internalPointer());
    if (holder == nullptr || index.row() < 0 ||
        index.row() >= static_cast<int>(holder->children.size())) {
        return kNoItem;
    }
    return holder->children[index.row()];
}

QModelIndex WTreeModel::IndexInTable(const ChildTable& table) const {
    if (table.item == kNoItem) {
        return {};
    }
    return createIndex(table.row, 0, table.parentTable);
}

QModelIndex WTreeModel::IndexOf(WTreeItem item) const {
    if (item == kNoItem || !store_.IsValid(item)) {
        return {};
    }
    // Walk up to the top, then come down through the tables (making them).
    std::vector<WTreeItem> chain;
    for (WTreeItem at = item; at != kNoItem; at = store_.Parent(at)) {
        chain.push_back(at);
    }
    QModelIndex index;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        ChildTable* table = TableOf(index);
        if (table == nullptr) {
            return {};
        }
        auto at = std::find(table->children.begin(), table->children.end(), *it);
        if (at == table->children.end()) {
            return {};
        }
        index = createIndex(static_cast<int>(at - table->children.begin()), 0, table);
    }
    return index;
}

QModelIndex WTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) {
        return {};
    }
    ChildTable* table = TableOf(parent);
    if (table == nullptr || row >= static_cast<int>(table->children.size())) {
        return {};
    }
    return createIndex(row, 0, table);
}

QModelIndex WTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.model() != this) {
        return {};
    }
    auto* holder = static_cast<ChildTable*>(child.internalPointer());
    return holder ? IndexInTable(*holder) : QModelIndex();
}

int WTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(RootTable().children.size());
    }
    if (parent.column() > 0) {
        return 0;
    }
    const WTreeItem item = ItemOf(parent);
    if (item == kNoItem) {
        return 0;
    }
    if (const ChildTable* table = ExistingTable(item)) {
        return static_cast<int>(table->children.size());
    }
    // Leaves are the many: answer them without making a table.
    if (!store_.HasChildren(item)) {
        return 0;
    }
    ChildTable* table = TableOf(parent);
    return table ? static_cast<int>(table->children.size()) : 0;
}

int WTreeModel::columnCount(const QModelIndex& parent) const {
    return parent.column() > 0 ? 0 : 1;
}

bool WTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return !RootTable().children.empty();
    }
    if (parent.column() > 0) {
        return false;
    }
    const WTreeItem item = ItemOf(parent);
    if (item == kNoItem) {
        return false;
    }
    if (const ChildTable* table = ExistingTable(item)) {
        return !table->children.empty() || store_.HasChildrenToMake(item);
    }
    return store_.MayHaveChildren(item);
}

bool WTreeModel::canFetchMore(const QModelIndex& parent) const {
    if (!parent.isValid() || parent.column() > 0) {
        return false;
    }
    const WTreeItem item = ItemOf(parent);
    return item != kNoItem && store_.HasChildrenToMake(item);
}

// The children are made with the model deaf to the store, then shown as one
// insertion.
void WTreeModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    const WTreeItem item = ItemOf(parent);
    // The (empty) table first, so that the rows stay unseen until inserted.
    ChildTable* table = TableOf(parent);
    if (table == nullptr) {
        return;
    }
    ++bulkDepth_;
    store_.MakeChildren(item);
    --bulkDepth_;
    int count = 0;
    for (WTreeItem child = store_.FirstChild(item); child != kNoItem;
         child = store_.NextSibling(child)) {
        ++count;
    }
    if (count == 0) {
        return;
    }
    beginInsertRows(parent, 0, count - 1);
    table->children.clear();
    for (WTreeItem child = store_.FirstChild(item); child != kNoItem;
         child = store_.NextSibling(child)) {
        table->children.push_back(child);
    }
    endInsertRows();
}

void WTreeModel::FetchIfNeeded(const QModelIndex& index) {
    if (canFetchMore(index)) {
        fetchMore(index);
    }
}

QVariant WTreeModel::data(const QModelIndex& index, int role) const {
    const WTreeItem item = ItemOf(index);
    if (item == kNoItem) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return ToQString(store_.Label(item));
        case Qt::DecorationRole: {
            const int image = store_.Image(item);
            if (image >= 0 && image < icons_.size()) {
                return icons_[image];
            }
            return {};
        }
        default:
            return {};
    }
}

void WTreeModel::Renumber(ChildTable& table, std::size_t from) {
    for (std::size_t row = from; row < table.children.size(); ++row) {
        if (ChildTable* child = ExistingTable(table.children[row])) {
            child->row = static_cast<int>(row);
        }
    }
}

void WTreeModel::ItemAdded(WTreeItem item) {
    if (bulkDepth_ > 0) {
        return;
    }
    const WTreeItem parentItem = store_.Parent(item);
    ChildTable* table = ExistingTable(parentItem);
    if (table == nullptr) {
        // No view has seen this parent's rows; they are read when asked for.
        // A shown leaf that gains its first child must show its expand button.
        NotifyFirstChild(parentItem);
        return;
    }
    const WTreeItem previous = store_.PreviousSibling(item);
    std::size_t row = 0;
    if (previous != kNoItem && !table->children.empty() && table->children.back() == previous) {
        row = table->children.size();  // appending, the usual case
    } else if (previous != kNoItem) {
        auto at = std::find(table->children.begin(), table->children.end(), previous);
        row = at == table->children.end()
                  ? table->children.size()
                  : static_cast<std::size_t>(at - table->children.begin()) + 1;
    }
    const int qrow = static_cast<int>(row);
    beginInsertRows(IndexInTable(*table), qrow, qrow);
    table->children.insert(table->children.begin() + static_cast<std::ptrdiff_t>(row), item);
    Renumber(*table, row + 1);
    endInsertRows();
}

void WTreeModel::NotifyFirstChild(WTreeItem parentItem) {
    if (parentItem == kNoItem || store_.FirstChild(parentItem) != store_.LastChild(parentItem)) {
        return;
    }
    ChildTable* holder = ExistingTable(store_.Parent(parentItem));
    if (holder == nullptr) {
        return;
    }
    auto at = std::find(holder->children.begin(), holder->children.end(), parentItem);
    if (at != holder->children.end()) {
        const QModelIndex index =
            createIndex(static_cast<int>(at - holder->children.begin()), 0, holder);
        emit dataChanged(index, index);
    }
}

void WTreeModel::ItemAboutToBeRemoved(WTreeItem item) {
    if (bulkDepth_ > 0) {
        return;
    }
    ChildTable* table = ExistingTable(store_.Parent(item));
    if (table == nullptr) {
        DropTablesBelow(item);
        return;
    }
    auto at = std::find(table->children.begin(), table->children.end(), item);
    if (at == table->children.end()) {
        return;
    }
    const int row = static_cast<int>(at - table->children.begin());
    beginRemoveRows(IndexInTable(*table), row, row);
    removingFrom_ = table;
    removingItem_ = item;
}

void WTreeModel::ItemRemoved(WTreeItem /*parent*/) {
    if (bulkDepth_ > 0 || removingFrom_ == nullptr) {
        return;
    }
    ChildTable* table = removingFrom_;
    auto at = std::find(table->children.begin(), table->children.end(), removingItem_);
    const std::size_t row = static_cast<std::size_t>(at - table->children.begin());
    if (at != table->children.end()) {
        table->children.erase(at);
    }
    Renumber(*table, row);
    const WTreeItem removed = removingItem_;
    removingFrom_ = nullptr;
    removingItem_ = kNoItem;
    endRemoveRows();
    DropTablesBelow(removed);
}

void WTreeModel::DropTablesBelow(WTreeItem item) {
    // The removed items are gone from the store, so find the doomed tables
    // through their own parent links.
    std::vector<WTreeItem> doomed;
    tables_.ForEach([&](WTreeItem owner, const std::unique_ptr<ChildTable>& table) {
        for (const ChildTable* at = table.get(); at != nullptr; at = at->parentTable) {
            if (at->item == item) {
                doomed.push_back(owner);
                break;
            }
        }
    });
    for (WTreeItem owner : doomed) {
        tables_.At(owner).reset();
        --tableCount_;
    }
}

void WTreeModel::LabelChanged(WTreeItem item) {
    if (bulkDepth_ > 0 || ExistingTable(store_.Parent(item)) == nullptr) {
        return;
    }
    const QModelIndex index = IndexOf(item);
    if (index.isValid()) {
        emit dataChanged(index, index);
    }
}

void WTreeModel::AllRemoved() {
    if (bulkDepth_ > 0) {
        return;
    }
    beginResetModel();
    ResetTables();
    endResetModel();
}

#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <functional>

#include "classlib/core/wliststore.h"

// Shows a WListStore in a report view. Rows appear as the store appends
// them; during a long synchronous run the model lets the window paint now and
// then, so that the rows are seen to come.
class WListModel : public QAbstractTableModel, public WListStoreObserver {
public:
    explicit WListModel(WListStore& store, QObject* parent = nullptr);
    ~WListModel() override;

    // Called after appended rows, at most every few tens of milliseconds.
    void SetProgressHook(std::function<void()> hook) { progress_ = std::move(hook); }
    // Called when the store changes a column's width.
    void SetColumnWidthHook(std::function<void(int column, int width)> hook) {
        columnWidth_ = std::move(hook);
    }

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void ColumnsChanged() override;
    void RowAppended(int row) override;
    void CellChanged(int row, int column) override;
    void ColumnWidthChanged(int column) override;
    void AllRowsRemoved() override;

private:
    WListStore& store_;
    int shownRows_ = 0;
    int shownColumns_ = 0;
    std::function<void()> progress_;
    std::function<void(int, int)> columnWidth_;
    QElapsedTimer sinceProgress_;
};

#include "classlib/qt/listmodel.h"

#include "classlib/qt/wqtstring.h"

namespace {
constexpr qint64 kProgressEveryMs = 50;
}

WListModel::WListModel(WListStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {
    shownRows_ = store_.RowCount();
    shownColumns_ = store_.ColumnCount();
    store_.SetObserver(this);
    sinceProgress_.start();
}

WListModel::~WListModel() {
    store_.SetObserver(nullptr);
}

int WListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int WListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownColumns_;
}

QVariant WListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) {
        return {};
    }
    return ToQString(store_.Cell(index.row(), index.column()));
}

QVariant WListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= shownColumns_) {
        return {};
    }
    const WListStore::Column& column = store_.ColumnAt(section);
    if (role == Qt::DisplayRole) {
        return ToQString(column.header);
    }
    if (role == Qt::TextAlignmentRole) {
        switch (column.alignment) {
            case WColumnAlignment::Right:
                return int(Qt::AlignRight | Qt::AlignVCenter);
            case WColumnAlignment::Center:
                return int(Qt::AlignHCenter | Qt::AlignVCenter);
            case WColumnAlignment::Left:
                break;
        }
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

void WListModel::ColumnsChanged() {
    beginResetModel();
    shownRows_ = store_.RowCount();
    shownColumns_ = store_.ColumnCount();
    endResetModel();
    for (int column = 0; column < shownColumns_ && columnWidth_; ++column) {
        columnWidth_(column, store_.ColumnAt(column).width);
    }
}

void WListModel::RowAppended(int row) {
    if (row != shownRows_) {
        ColumnsChanged();
        return;
    }
    beginInsertRows(QModelIndex(), row, row);
    ++shownRows_;
    endInsertRows();
    if (progress_ && sinceProgress_.elapsed() >= kProgressEveryMs) {
        progress_();
        sinceProgress_.restart();
    }
}

void WListModel::CellChanged(int row, int column) {
    if (row < shownRows_ && column < shownColumns_) {
        const QModelIndex at = index(row, column);
        emit dataChanged(at, at);
    }
}

void WListModel::ColumnWidthChanged(int column) {
    if (columnWidth_ && column < shownColumns_) {
        columnWidth_(column, store_.ColumnAt(column).width);
    }
}

void WListModel::AllRowsRemoved() {
    beginResetModel();
    shownRows_ = 0;
    endResetModel();
}

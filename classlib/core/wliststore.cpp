#include "classlib/core/wliststore.h"

#include <algorithm>

int WListStore::AddColumn(std::string_view header, int position, int width,
                          WColumnAlignment alignment) {
    if (position == kAppend) {
        position = ColumnCount();
    }
    if (position < 0 || position > ColumnCount()) {
        return -1;
    }
    Column column;
    column.header.assign(header);
    column.alignment = alignment;
    if (width == kFitCellsAndHeader) {
        column.width = MeasureText(header) + kHeaderPadding;
    } else {
        column.width = std::max(width, 0);
    }
    columns_.insert(columns_.begin() + position, std::move(column));
    cellWidths_.insert(cellWidths_.begin() + position, CellWidths{});
    for (auto& row : rows_) {
        if (static_cast<std::size_t>(position) < row.size()) {
            row.insert(row.begin() + position, std::string());
        }
    }
    if (observer_) {
        observer_->ColumnsChanged();
    }
    return position;
}

int WListStore::AppendRow(std::string_view firstCell) {
    std::vector<std::string> cells(std::max<std::size_t>(columns_.size(), 1));
    cells.front().assign(firstCell);
    rows_.push_back(std::move(cells));
    const int row = RowCount() - 1;
    if (observer_) {
        observer_->RowAppended(row);
    }
    return row;
}

bool WListStore::SetCell(int row, int column, std::string_view text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) {
        return false;
    }
    auto& cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size()) {
        cells.resize(static_cast<std::size_t>(column) + 1);
    }
    std::string& cell = cells[static_cast<std::size_t>(column)];
    NoteCellReplaced(row, column, cell, text);
    cell.assign(text);
    if (observer_) {
        observer_->CellChanged(row, column);
    }
    return true;
}

std::string_view WListStore::Cell(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0) {
        return {};
    }
    const auto& cells = rows_[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size()) {
        return {};
    }
    return cells[static_cast<std::size_t>(column)];
}

bool WListStore::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= ColumnCount() || width < kFitCellsAndHeader) {
        return false;
    }
    Column& target = columns_[static_cast<std::size_t>(column)];
    if (width >= 0) {
        target.width = width;
    } else {
        target.width = WidestCell(column) + kCellPadding;
        if (width == kFitCellsAndHeader) {
            target.width = std::max(target.width, MeasureText(target.header) + kHeaderPadding);
        }
    }
    if (observer_) {
        observer_->ColumnWidthChanged(column);
    }
    return true;
}

int WListStore::WidestCell(int column) {
    CellWidths& widths = cellWidths_[static_cast<std::size_t>(column)];
    for (; widths.measuredRows < RowCount(); ++widths.measuredRows) {
        widths.widest = std::max(widths.widest, MeasureText(Cell(widths.measuredRows, column)));
    }
    return widths.widest;
}

// A measured cell that grows widens the column; one that was the widest and
// shrinks has the column measured afresh.
void WListStore::NoteCellReplaced(int row, int column, std::string_view old,
                                  std::string_view text) {
    CellWidths& widths = cellWidths_[static_cast<std::size_t>(column)];
    if (row >= widths.measuredRows) {
        return;
    }
    const int width = MeasureText(text);
    if (width >= widths.widest) {
        widths.widest = width;
    } else if (MeasureText(old) >= widths.widest) {
        widths = CellWidths{};
    }
}

void WListStore::SetTextMeasure(TextMeasure measure) {
    measure_ = std::move(measure);
    std::fill(cellWidths_.begin(), cellWidths_.end(), CellWidths{});
}

void WListStore::RemoveAllRows() {
    rows_.clear();
    std::fill(cellWidths_.begin(), cellWidths_.end(), CellWidths{});
    if (observer_) {
        observer_->AllRowsRemoved();
    }
}

int WListStore::MeasureText(std::string_view text) const {
    if (measure_) {
        return measure_(text);
    }
    return static_cast<int>(std::min<std::size_t>(text.size(), 1u << 26)) * 7;
}

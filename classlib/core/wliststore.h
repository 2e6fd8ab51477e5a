#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Told about every change, so that a report view can show rows as they come.
class WListStoreObserver {
public:
    virtual ~WListStoreObserver() = default;
    virtual void ColumnsChanged() = 0;
    virtual void RowAppended(int row) = 0;
    virtual void CellChanged(int row, int column) = 0;
    virtual void ColumnWidthChanged(int column) = 0;
    virtual void AllRowsRemoved() = 0;
};

enum class WColumnAlignment { Left, Right, Center };

// The item store of a report-view list: ordered columns (header, alignment,
// width in pixels) and ordered rows holding one text cell per column.
class WListStore {
public:
    struct Column {
        std::string header;
        WColumnAlignment alignment = WColumnAlignment::Left;
        int width = 0;
    };
    // Pixel width of a text; the window supplies its font's metrics. The
    // default counts 7 pixels a character so that the core works alone.
    using TextMeasure = std::function<int(std::string_view)>;

    static constexpr int kAppend = -1;
    static constexpr int kFitCells = -1;           // width: widest cell
    static constexpr int kFitCellsAndHeader = -2;  // width: cells and header
    static constexpr int kHeaderPadding = 14;
    // Fitting to cells adds the cell's inner margin on both sides (6 pixels
    // each, as the platform's report view draws them).
    static constexpr int kCellPadding = 12;

    // width -2: the header's pixel width plus 14; -1: none given (0).
    // Returns the new column's index, or -1 when the position is out of range.
    int AddColumn(std::string_view header, int position = kAppend, int width = -1,
                  WColumnAlignment alignment = WColumnAlignment::Left);
    // Appends a row whose first cell holds text; returns its index.
    int AppendRow(std::string_view firstCell);
    bool SetCell(int row, int column, std::string_view text);
    // -1 fits the widest cell, -2 cells and header; values below -2 are refused.
    bool SetColumnWidth(int column, int width);
    void RemoveAllRows();

    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const Column& ColumnAt(int column) const { return columns_.at(column); }
    // The empty text outside the table.
    std::string_view Cell(int row, int column) const;

    void SetTextMeasure(TextMeasure measure);
    int MeasureText(std::string_view text) const;
    void SetObserver(WListStoreObserver* observer) { observer_ = observer; }

private:
    // The widest cell of a column, kept as rows arrive so that fitting a
    // column after each batch of rows costs only the new rows.
    struct CellWidths {
        int measuredRows = 0;  // rows [0, measuredRows) are in widest
        int widest = 0;
    };
    int WidestCell(int column);
    void NoteCellReplaced(int row, int column, std::string_view old, std::string_view text);

    std::vector<Column> columns_;
    std::vector<CellWidths> cellWidths_;  // one per column
    std::vector<std::vector<std::string>> rows_;
    TextMeasure measure_;
    WListStoreObserver* observer_ = nullptr;
};

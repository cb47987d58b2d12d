#pragma once

#include "widgets/KyStringGrid.h"

#include <QFontMetrics>

#include <algorithm>
#include <vector>

namespace velnor::ui {

// Width of the month-name column of the month tables.
inline constexpr int MonthColumnWidth = 80;

// Short forms of the grid operations the editors use.
inline QString Cell(const TKyStringGrid& grid, int col, int row) { return grid.Cells(col, row); }
inline void SetCell(TKyStringGrid& grid, int col, int row, const QString& text) { grid.setCells(col, row, text); }
inline int ColCount(const TKyStringGrid& grid) { return grid.ColCount(); }
inline int RowCount(const TKyStringGrid& grid) { return grid.RowCount(); }
inline void SetColWidth(TKyStringGrid& grid, int col, int width) { grid.setColWidths(col, width); }
inline void SetFitColumn(TKyStringGrid& grid, int col) { grid.SetFitColToWidth(col); }

// Pixels column col needs to show its heading (row 0) in full.
inline int HeadingWidth(const TKyStringGrid& grid, int col)
{
    return QFontMetrics(grid.font()).horizontalAdvance(grid.Cells(col, 0)) + 8;
}

// Column col gets `width` pixels, or more when its heading needs more room.
inline void SetColWidthForHeading(TKyStringGrid& grid, int col, int width)
{
    grid.setColWidths(col, std::max(width, HeadingWidth(grid, col)));
}

inline void SetGridSize(TKyStringGrid& grid, int cols, int rows)
{
    grid.setColCount(cols);
    grid.setRowCount(rows);
}

inline void SetGridFixed(TKyStringGrid& grid, int fixedCols, int fixedRows)
{
    grid.setFixedCols(fixedCols);
    grid.setFixedRows(fixedRows);
}

// Editable grids allow range selection; list grids select whole rows, several at once.
inline void SetGridEditable(TKyStringGrid& grid, bool editable)
{
    grid.setOptions(editable ? (goEditing | goRangeSelect) : (grid.Options() & ~unsigned(goEditing)));
}

inline void SetRowSelect(TKyStringGrid& grid, bool rows)
{
    grid.setOptions(rows ? (grid.Options() | goRowSelect | goRangeSelect) : (grid.Options() & ~unsigned(goRowSelect)));
}

// The rows of the current selection, top to bottom.
inline std::vector<int> SelectedRows(const TKyStringGrid& grid)
{
    const TGridRect sel = grid.Selection();
    std::vector<int> rows;
    for (int r = sel.Top; r <= sel.Bottom; ++r)
        rows.push_back(r);
    return rows;
}

// The row under a point of the grid widget; -1 for none.
inline int GridRowAt(const TKyStringGrid& grid, int x, int y)
{
    int col = -1, row = -1;
    grid.MouseToCell(QPoint(x, y), col, row);
    return row;
}

} // namespace velnor::ui

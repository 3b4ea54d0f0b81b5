#include "GridCells.h"

#include <algorithm>

namespace trelmo {

void ResizeActiveCells(GridCells& grid, int oldLength, int newLength)
{
    oldLength = std::clamp(oldLength, 0, GridDataCells);
    newLength = std::clamp(newLength, 0, GridDataCells);
    for (int i = newLength; i < oldLength; ++i) {
        const CellPosition cell = CellIndex(i);
        grid.SetCellText(cell.row, cell.column, std::string());
        grid.SetCellActive(cell.row, cell.column, false);
    }
    for (int i = oldLength; i < newLength; ++i) {
        const CellPosition cell = CellIndex(i);
        grid.SetCellActive(cell.row, cell.column, true);
    }
}

} // namespace trelmo

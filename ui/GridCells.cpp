#include "GridCells.h"

#include "HexText.h"

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

int ShowReadData(GridCells& readGrid, const Bytes& data, int previousLength)
{
    const int length = static_cast<int>(std::min<std::size_t>(data.size(), GridDataCells));
    ResizeActiveCells(readGrid, previousLength, length);
    for (int i = 0; i < length; ++i) {
        const CellPosition cell = CellIndex(i);
        readGrid.SetCellText(cell.row, cell.column, HexPair(data[static_cast<std::size_t>(i)]));
    }
    return length;
}

} // namespace trelmo

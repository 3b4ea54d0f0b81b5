#pragma once
// What the exchange and the write-data editing need of an I/O grid, by the grid's own numbering:
// row 0 and column 0 are headings; rows 1..25 and columns 1..10 hold the 250 byte cells.

#include "Frame.h"

#include <string>

namespace trelmo {

constexpr int GridRows = 26;
constexpr int GridColumns = 11;
constexpr int GridDataCells = 250;

struct CellPosition {
    int row;
    int column;
};

// Rows 1..25 and columns 1..10; the rest are headings or outside the grid.
constexpr bool IsDataCell(int row, int column)
{
    return row >= 1 && row < GridRows && column >= 1 && column < GridColumns;
}

// Byte i lives at row i / 10 + 1, column i mod 10 + 1.
constexpr CellPosition CellIndex(int byteIndex)
{
    return {byteIndex / 10 + 1, byteIndex % 10 + 1};
}

class GridCells {
public:
    virtual ~GridCells() = default;
    virtual std::string CellText(int row, int column) const = 0;
    virtual void SetCellText(int row, int column, const std::string& text) = 0;
    // Active cells have the normal background; inactive ones are grey (200, 200, 200).
    virtual void SetCellActive(int row, int column, bool active) = 0;
    virtual bool IsCellActive(int row, int column) const = 0;
};

// Brings the cell states from one length to another: shrinking empties and greys the cells that fall out of use,
// growing gives the new cells the normal background and keeps their text. Lengths outside 0..250 are clamped.
void ResizeActiveCells(GridCells& grid, int oldLength, int newLength);

// Shows the module's read data in the first cells, two uppercase hex digits each (at most 250 of them), after
// bringing the cell states from the previous length to the new one. Returns the new length.
int ShowReadData(GridCells& readGrid, const Bytes& data, int previousLength);

} // namespace trelmo

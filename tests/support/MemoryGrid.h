#pragma once
// Grids by byte index (byte i at row i / 10 + 1, column i mod 10 + 1) for readable expectations, and the in-memory
// grid read and written that way.

#include "GridCells.h"

#include <string>

namespace trelmo::testing {

inline std::string ByteText(const GridCells& grid, int byteIndex)
{
    const CellPosition cell = CellIndex(byteIndex);
    return grid.CellText(cell.row, cell.column);
}
inline bool ByteActive(const GridCells& grid, int byteIndex)
{
    const CellPosition cell = CellIndex(byteIndex);
    return grid.IsCellActive(cell.row, cell.column);
}
inline void SetByteText(GridCells& grid, int byteIndex, const std::string& text)
{
    const CellPosition cell = CellIndex(byteIndex);
    grid.SetCellText(cell.row, cell.column, text);
}

class MemoryGrid : public MemoryGridCells {
public:
    std::string Text(int byteIndex) const { return ByteText(*this, byteIndex); }
    bool Active(int byteIndex) const { return ByteActive(*this, byteIndex); }
    void SetText(int byteIndex, const std::string& text) { SetByteText(*this, byteIndex, text); }
};

} // namespace trelmo::testing

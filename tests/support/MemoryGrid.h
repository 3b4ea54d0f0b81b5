#pragma once
// Grids by byte index (byte i at row i / 10 + 1, column i mod 10 + 1) for readable expectations, and the in-memory
// grid read and written that way.

#include "GridCells.h"

#include <array>
#include <cstddef>
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

// A grid held in memory, shaped like the window's I/O grids: every cell empty and inactive at start.
class MemoryGrid : public GridCells {
public:
    std::string Text(int byteIndex) const { return ByteText(*this, byteIndex); }
    bool Active(int byteIndex) const { return ByteActive(*this, byteIndex); }
    void SetText(int byteIndex, const std::string& text) { SetByteText(*this, byteIndex, text); }

    std::string CellText(int row, int column) const override { return cells_.at(Index(row, column)).text; }
    void SetCellText(int row, int column, const std::string& text) override { cells_.at(Index(row, column)).text = text; }
    void SetCellActive(int row, int column, bool active) override { cells_.at(Index(row, column)).active = active; }
    bool IsCellActive(int row, int column) const override { return cells_.at(Index(row, column)).active; }

private:
    struct Cell {
        std::string text;
        bool active = false;
    };
    // Anything outside the 26 x 11 cells maps past the end, so at() reports the stray access.
    static std::size_t Index(int row, int column)
    {
        if (row < 0 || row >= GridRows || column < 0 || column >= GridColumns)
            return GridRows * GridColumns;
        return static_cast<std::size_t>(row * GridColumns + column);
    }
    std::array<Cell, GridRows * GridColumns> cells_{};
};

} // namespace trelmo::testing

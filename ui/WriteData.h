#pragma once
// The outgoing I/O write data and the rules that keep it in step with the write grid: applying the write length,
// committing an edited cell, and which cells may be edited. Plain logic; the window shows the outcomes.

#include "GridCells.h"
#include "Protocol.h"

#include <array>
#include <cstdint>
#include <string>

namespace trelmo {

// What each cycle sends: the first `length` bytes. The write grid and the write Length edit show it.
struct WriteData {
    std::array<std::uint8_t, MaxIoWriteLength> bytes{};
    int length = 0; // 0..MaxIoWriteLength
};

enum class WriteLengthOutcome { Applied, OutOfRange };
enum class CellEditOutcome { Stored, NotUppercaseHex };

// Applies a typed write length: recolours the write grid, fills empty active cells with "00" and rebuilds the
// bytes. A length outside 0..244 changes nothing.
WriteLengthOutcome ApplyWriteLength(GridCells& writeGrid, WriteData& data, int typedLength);

// Stores the cell editor's text into the cell it was opened over and rebuilds the bytes (an empty cell counts as
// 0 and stays empty). Text that is not uppercase hex changes nothing.
CellEditOutcome CommitCellEdit(GridCells& writeGrid, WriteData& data, CellPosition cell,
                               const std::string& editorText);

// Whether a click on the write grid at (row, column) opens the cell editor: only data cells within the write length.
bool IsWriteCellEditable(int row, int column, const WriteData& data);

// Bytes 0..length-1 from the first cells: empty gives 0, otherwise the low 8 bits of the cell's hexadecimal value.
void RebuildWriteData(const GridCells& writeGrid, WriteData& data);

} // namespace trelmo

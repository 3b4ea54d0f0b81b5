#pragma once
// The outgoing I/O write data and the rules that keep it in step with the write grid: applying the write length,
// committing an edited cell, and which cells may be edited. Plain logic; the window shows the messages.

#include "Frame.h"
#include "GridCells.h"

#include <array>
#include <cstdint>
#include <string>

namespace trelmo {

constexpr int MaxWriteLength = 244;
constexpr int NoMessage = 0;
constexpr int TextIllegalInputData = 110;  // "ERROR:61 Illegal input data"
constexpr int TextMaximumByte244 = 111;    // "ERROR:244 Maximum byte 244"

struct WriteDataState {
    std::array<std::uint8_t, ModuleFrame::BufferSize> WriteData{};
    std::string WriteLengthText = "0"; // what the write Length edit shows
};

// The decimal value of a length text: leading blanks skipped, digits up to the first other character, saturating
// instead of overflowing. Empty text (or no digits) is 0; never negative.
int DecimalLengthValue(const std::string& text);

// The write length as a byte count the write data can hold (0..244).
int WriteLength(const WriteDataState& state);

// Validates the length typed into the write Length edit and applies it: recolours the write grid, fills empty
// active cells with "00" and rebuilds WriteData. Above 244 it changes nothing and returns TextMaximumByte244;
// the caller then shows that message and puts state.WriteLengthText back into the edit.
int ApplyWriteLength(GridCells& writeGrid, WriteDataState& state, const std::string& editText);

// Stores the cell editor's text into the cell it was opened over and rebuilds WriteData (an empty cell counts as
// 0 and stays empty). Text that is not uppercase hex is refused with TextIllegalInputData and nothing changes.
int CommitCellEdit(GridCells& writeGrid, WriteDataState& state, CellPosition cell, const std::string& editorText);

// Whether a click on the write grid at (row, column) opens the cell editor: only data cells within the write length.
bool IsWriteCellEditable(int row, int column, const WriteDataState& state);

// WriteData bytes 0..n-1 from the first n cells (n = the write length): empty gives 0, otherwise the low 8 bits of
// the cell's hexadecimal value.
void RebuildWriteData(const GridCells& writeGrid, WriteDataState& state);

} // namespace trelmo

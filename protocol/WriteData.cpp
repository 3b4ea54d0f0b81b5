#include "WriteData.h"

#include "ObjectAccess.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace trelmo {
namespace {

bool IsDataCell(int row, int column)
{
    return row >= 1 && row < GridRows && column >= 1 && column < GridColumns;
}

} // namespace

int DecimalLengthValue(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), INT_MAX);
    return static_cast<int>(value);
}

int WriteLength(const WriteDataState& state)
{
    return std::min(DecimalLengthValue(state.WriteLengthText), MaxWriteLength);
}

int ApplyWriteLength(GridCells& writeGrid, WriteDataState& state, const std::string& editText)
{
    const int length = DecimalLengthValue(editText);
    if (length > MaxWriteLength)
        return TextMaximumByte244;

    const int previous = WriteLength(state);
    state.WriteLengthText = editText;
    ResizeActiveCells(writeGrid, previous, length);
    for (int i = 0; i < length; ++i) {
        const CellPosition cell = CellIndex(i);
        if (writeGrid.CellText(cell.row, cell.column).empty())
            writeGrid.SetCellText(cell.row, cell.column, "00");
    }
    RebuildWriteData(writeGrid, state);
    return NoMessage;
}

int CommitCellEdit(GridCells& writeGrid, WriteDataState& state, CellPosition cell, const std::string& editorText)
{
    if (!IsHexText(editorText))
        return TextIllegalInputData;
    if (IsDataCell(cell.row, cell.column))
        writeGrid.SetCellText(cell.row, cell.column, editorText);
    RebuildWriteData(writeGrid, state);
    return NoMessage;
}

bool IsWriteCellEditable(int row, int column, const WriteDataState& state)
{
    // Headings are never editable; a data cell is editable when its byte lies within the write length.
    if (!IsDataCell(row, column))
        return false;
    return (row - 1) * 10 + column <= WriteLength(state);
}

void RebuildWriteData(const GridCells& writeGrid, WriteDataState& state)
{
    const int length = WriteLength(state);
    for (int i = 0; i < length; ++i) {
        const CellPosition cell = CellIndex(i);
        const std::uint32_t value = ParseHexValue(writeGrid.CellText(cell.row, cell.column));
        state.WriteData[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFFu);
    }
}

} // namespace trelmo

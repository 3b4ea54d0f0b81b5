#include "WriteData.h"

#include "HexText.h"

#include <algorithm>

namespace trelmo {
WriteLengthOutcome ApplyWriteLength(GridCells& writeGrid, WriteData& data, int typedLength)
{
    if (typedLength < 0 || typedLength > MaxIoWriteLength)
        return WriteLengthOutcome::OutOfRange;

    ResizeActiveCells(writeGrid, data.length, typedLength);
    data.length = typedLength;
    for (int i = 0; i < typedLength; ++i) {
        const CellPosition cell = CellIndex(i);
        if (writeGrid.CellText(cell.row, cell.column).empty())
            writeGrid.SetCellText(cell.row, cell.column, "00");
    }
    RebuildWriteData(writeGrid, data);
    return WriteLengthOutcome::Applied;
}

CellEditOutcome CommitCellEdit(GridCells& writeGrid, WriteData& data, CellPosition cell,
                               const std::string& editorText)
{
    if (!IsHexText(editorText))
        return CellEditOutcome::NotUppercaseHex;
    if (IsDataCell(cell.row, cell.column))
        writeGrid.SetCellText(cell.row, cell.column, editorText);
    RebuildWriteData(writeGrid, data);
    return CellEditOutcome::Stored;
}

bool IsWriteCellEditable(int row, int column, const WriteData& data)
{
    // Headings are never editable; a data cell is editable when its byte lies within the write length.
    if (!IsDataCell(row, column))
        return false;
    return (row - 1) * 10 + column <= data.length;
}

void RebuildWriteData(const GridCells& writeGrid, WriteData& data)
{
    const int length = std::clamp(data.length, 0, MaxIoWriteLength);
    for (int i = 0; i < length; ++i) {
        const CellPosition cell = CellIndex(i);
        const std::uint32_t value = ParseHexValue(writeGrid.CellText(cell.row, cell.column));
        data.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFFu);
    }
}

} // namespace trelmo

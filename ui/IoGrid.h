#pragma once
// One I/O grid of the main window: a table widget shaped as 26 x 11 cells, addressed by the grid's own numbering.
// Row 0 and column 0 are the headings (the table's horizontal and vertical headers); rows 1..25 and columns 1..10
// are the 250 byte cells (table row r - 1, column c - 1). Widths and positions are in twips (1440 per inch),
// converted with the screen's logical resolution.

#include "GridCells.h"

#include <QColor>
#include <QObject>
#include <QRect>

class QTableWidget;
class QTableWidgetItem;

namespace trelmo {

inline const QColor InactiveCellColor(200, 200, 200);
constexpr int DataColumnWidthTwips = 300;
constexpr int HeaderColumnWidthTwips = 600;

class IoGrid : public QObject, public GridCells {
    Q_OBJECT
public:
    // Shapes the given table (which stays owned by its parent window): headers, widths, font, read-only cells.
    // All data cells start empty and active; the main window greys them.
    explicit IoGrid(QTableWidget* table, QObject* parent = nullptr);

    QTableWidget* Widget() const { return table_; }
    int Rows() const { return GridRows; }
    int Cols() const { return GridColumns; }

    std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, const std::string& text) override;
    void SetCellActive(int row, int column, bool active) override;
    bool IsCellActive(int row, int column) const override;
    void SetAllDataCellsActive(bool active);

    int ColWidth(int column) const;   // twips
    void SetColWidth(int column, int twips);
    int RowHeight(int row) const;     // twips
    int RowPos(int row) const;        // top of the row, twips from the control's top-left corner
    int ColPos(int column) const;     // left edge of the column, twips from the control's top-left corner
    // The cell the user last clicked (0, 0 before any click).
    int RowSel() const { return clickedRow_; }
    int ColSel() const { return clickedColumn_; }
    // The cell's rectangle in the table widget's own pixel coordinates.
    QRect CellRect(int row, int column) const;

    int TwipsPerPixelX() const;
    int TwipsPerPixelY() const;

signals:
    // A data cell was clicked, or activated from the keyboard with Space or F2 (the current cell).
    void Clicked(int row, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOut();
    void OnCellClicked(int tableRow, int tableColumn);
    QTableWidgetItem* DataItem(int row, int column) const;
    // A heading's header item or a data cell's item; nullptr for the corner and outside the grid.
    QTableWidgetItem* Item(int row, int column) const;

    QTableWidget* table_;
    int clickedRow_ = 0;
    int clickedColumn_ = 0;
};

} // namespace trelmo

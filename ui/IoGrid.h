#pragma once
// One I/O grid of the main window: the 250 byte cells of a table view, addressed by the grid's own numbering.
// Row 0 and column 0 are the headings (the view's headers); rows 1..25 and columns 1..10 are the byte cells (model
// row r - 1, column c - 1), so byte 0 is the table's cell (0, 0).

#include "GridCells.h"

#include <QAbstractTableModel>
#include <QColor>

#include <array>
#include <functional>

class QLineEdit;
class QTableView;

namespace trelmo {

inline const QColor InactiveCellColor(200, 200, 200);

class IoGrid : public QAbstractTableModel, public GridCells {
    Q_OBJECT
public:
    // Becomes the model of the view (which stays owned by its window) and shapes it: headings, widths, font.
    // All cells start empty and active; the main window greys them.
    explicit IoGrid(QTableView* view);

    QTableView* Widget() const { return view_; }

    // Makes the cells the predicate allows editable in the given editor (the window's own, lent to the view for
    // each edit): a click, Space or F2 opens it over the cell. When Enter, Tab or the focus leaving ends the edit,
    // commit decides: true closes the editor, false keeps it open with its text and the focus.
    using EditablePredicate = std::function<bool(int row, int column)>;
    using CommitFunction = std::function<bool(CellPosition cell, const QString& text)>;
    void EnableEditing(QLineEdit* editor, EditablePredicate editable, CommitFunction commit);

    std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, const std::string& text) override;
    void SetCellActive(int row, int column, bool active) override;
    bool IsCellActive(int row, int column) const override;
    void SetAllDataCellsActive(bool active);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Cell {
        QString text;
        bool active = true;
    };
    void LayOut();
    void EditIfEditable(const QModelIndex& index);
    Cell* DataCell(int row, int column);
    const Cell* DataCell(int row, int column) const;
    void CellChanged(int row, int column);

    QTableView* view_;
    std::array<Cell, GridDataCells> cells_{};
    EditablePredicate editable_;
};

} // namespace trelmo

#include "IoGrid.h"

#include "DialogTemplate.h"
#include "Twips.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

#include <algorithm>

namespace trelmo {
namespace {

constexpr int DefaultRowHeightTwips = 240;

// Active cells have the normal window colours; the view's own background shows around the cells.
QColor ActiveCellColor()
{
    return QGuiApplication::palette().color(QPalette::Base);
}

const QColor OutsideCellsColor(128, 128, 128);

} // namespace

IoGrid::IoGrid(QTableWidget* table, QObject* parent) : QObject(parent), table_(table)
{
    LayOut();
    connect(table_, &QTableWidget::cellClicked, this, &IoGrid::OnCellClicked);
    table_->installEventFilter(this);
}

void IoGrid::LayOut()
{
    table_->setFont(ResolveTemplateFont(QStringLiteral("SimSun"), 9));
    table_->setRowCount(GridRows - 1);
    table_->setColumnCount(GridColumns - 1);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setFocusPolicy(Qt::StrongFocus);
    table_->setTabKeyNavigation(false); // Tab leaves the grid, as in the rest of the window
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideNone); // "FF" fits a 300-twip column, just not with an ellipsis's margins
    table_->setCornerButtonEnabled(false);
    QPalette palette = table_->palette();
    palette.setColor(QPalette::Base, OutsideCellsColor);
    table_->setPalette(palette);

    QHeaderView* columns = table_->horizontalHeader();
    QHeaderView* rows = table_->verticalHeader();
    for (QHeaderView* headings : {columns, rows}) {
        headings->setSectionResizeMode(QHeaderView::Fixed);
        headings->setSectionsClickable(false);
        headings->setHighlightSections(false);
        headings->setMinimumSectionSize(1);
    }
    // Rows as tall as the digits need, not the full line height of the CJK fallback fonts (which would scroll
    // the grid much further than its 240-twip rows do).
    const QRect digits = table_->fontMetrics().tightBoundingRect(QStringLiteral("0123456789ABCDEF"));
    const int rowHeight = std::max(TwipsToPixels(DefaultRowHeightTwips, table_->logicalDpiY(), PixelRounding::Down),
                                   digits.height() + 6);
    rows->setDefaultSectionSize(rowHeight);
    columns->setFixedHeight(rowHeight);

    SetColWidth(0, HeaderColumnWidthTwips);
    for (int column = 1; column < GridColumns; ++column) {
        SetColWidth(column, DataColumnWidthTwips);
        table_->setHorizontalHeaderItem(column - 1, new QTableWidgetItem(QString::number(column - 1)));
    }
    for (int row = 1; row < GridRows; ++row) {
        const QString heading = QStringLiteral("%1").arg((row - 1) * 10, 3, 10, QLatin1Char('0'));
        table_->setVerticalHeaderItem(row - 1, new QTableWidgetItem(heading));
        for (int column = 1; column < GridColumns; ++column) {
            auto* item = new QTableWidgetItem();
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            item->setData(Qt::BackgroundRole, ActiveCellColor());
            table_->setItem(row - 1, column - 1, item);
        }
    }
}

QTableWidgetItem* IoGrid::DataItem(int row, int column) const
{
    return IsDataCell(row, column) ? table_->item(row - 1, column - 1) : nullptr;
}

QTableWidgetItem* IoGrid::Item(int row, int column) const
{
    if (row == 0 && IsDataCell(1, column))
        return table_->horizontalHeaderItem(column - 1);
    if (column == 0 && IsDataCell(row, 1))
        return table_->verticalHeaderItem(row - 1);
    return DataItem(row, column);
}

std::string IoGrid::CellText(int row, int column) const
{
    const QTableWidgetItem* item = Item(row, column);
    return item ? item->text().toStdString() : std::string();
}

void IoGrid::SetCellText(int row, int column, const std::string& text)
{
    if (QTableWidgetItem* item = Item(row, column))
        item->setText(QString::fromStdString(text));
}

void IoGrid::SetCellActive(int row, int column, bool active)
{
    if (QTableWidgetItem* item = DataItem(row, column))
        item->setData(Qt::BackgroundRole, active ? ActiveCellColor() : InactiveCellColor);
}

bool IoGrid::IsCellActive(int row, int column) const
{
    const QTableWidgetItem* item = DataItem(row, column);
    return item && item->data(Qt::BackgroundRole).value<QColor>() != InactiveCellColor;
}

void IoGrid::SetAllDataCellsActive(bool active)
{
    for (int i = 0; i < GridDataCells; ++i) {
        const CellPosition cell = CellIndex(i);
        SetCellActive(cell.row, cell.column, active);
    }
}

int IoGrid::TwipsPerPixelX() const
{
    return TwipsPerPixel(table_->logicalDpiX());
}

int IoGrid::TwipsPerPixelY() const
{
    return TwipsPerPixel(table_->logicalDpiY());
}

int IoGrid::ColWidth(int column) const
{
    int pixels = 0;
    if (column == 0)
        pixels = table_->verticalHeader()->width();
    else if (column > 0 && column < GridColumns)
        pixels = table_->columnWidth(column - 1);
    return PixelsToTwips(pixels, table_->logicalDpiX());
}

void IoGrid::SetColWidth(int column, int twips)
{
    const int pixels = TwipsToPixels(twips, table_->logicalDpiX(), PixelRounding::Down);
    if (column == 0)
        table_->verticalHeader()->setFixedWidth(pixels);
    else if (column > 0 && column < GridColumns)
        table_->setColumnWidth(column - 1, pixels);
}

int IoGrid::RowHeight(int row) const
{
    int pixels = 0;
    if (row == 0)
        pixels = table_->horizontalHeader()->height();
    else if (row > 0 && row < GridRows)
        pixels = table_->rowHeight(row - 1);
    return PixelsToTwips(pixels, table_->logicalDpiY());
}

QRect IoGrid::CellRect(int row, int column) const
{
    const int frame = table_->frameWidth();
    const int headerHeight = table_->horizontalHeader()->height();
    const int headerWidth = table_->verticalHeader()->width();
    const int top = row <= 0 ? frame : frame + headerHeight + table_->rowViewportPosition(row - 1);
    const int left = column <= 0 ? frame : frame + headerWidth + table_->columnViewportPosition(column - 1);
    const int height = row <= 0 ? headerHeight : table_->rowHeight(row - 1);
    const int width = column <= 0 ? headerWidth : table_->columnWidth(column - 1);
    return QRect(left, top, width, height);
}

int IoGrid::RowPos(int row) const
{
    return PixelsToTwips(CellRect(row, 0).top(), table_->logicalDpiY());
}

int IoGrid::ColPos(int column) const
{
    return PixelsToTwips(CellRect(0, column).left(), table_->logicalDpiX());
}

void IoGrid::OnCellClicked(int tableRow, int tableColumn)
{
    clickedRow_ = tableRow + 1;
    clickedColumn_ = tableColumn + 1;
    emit Clicked(clickedRow_, clickedColumn_);
}

bool IoGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool activates = key->key() == Qt::Key_F2
            || (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier);
        const QModelIndex current = table_->currentIndex();
        if (activates && current.isValid()) {
            OnCellClicked(current.row(), current.column());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace trelmo

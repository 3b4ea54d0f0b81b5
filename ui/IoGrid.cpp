#include "IoGrid.h"

#include "DialogTemplate.h"
#include "UiControls.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace trelmo {
namespace {

// The grid's sizes, in twips (1440 per inch).
constexpr int HeaderColumnWidthTwips = 600;
constexpr int DataColumnWidthTwips = 300;
constexpr int RowHeightTwips = 240;

int TwipsToPixels(int twips, int dotsPerInch)
{
    return twips * dotsPerInch / 1440;
}

// Active cells have the normal window colours; the view's own background shows around the cells.
QColor ActiveCellColor()
{
    return QGuiApplication::palette().color(QPalette::Base);
}

const QColor OutsideCellsColor(128, 128, 128);

QString RowHeading(int row)
{
    return QStringLiteral("%1").arg((row - 1) * 10, 3, 10, QLatin1Char('0'));
}

// Lends the window's one cell editor to the view for each edit and ends the edit through the commit function:
// Enter or the focus leaving the editor asks it, Escape cancels, Tab leaves for the next control as elsewhere.
class LentEditorDelegate : public QStyledItemDelegate {
public:
    LentEditorDelegate(QLineEdit* editor, IoGrid::CommitFunction commit, QObject* parent)
        : QStyledItemDelegate(parent), editor_(editor), commit_(std::move(commit))
    {
        // The editor keeps the window's font and white field inside the grid, whose own are others.
        QFont font = editor_->font();
        font.setResolveMask(QFont::AllPropertiesResolved);
        editor_->setFont(font);
        QPalette palette = editor_->palette();
        palette.setColor(QPalette::Base, ActiveCellColor());
        editor_->setPalette(palette);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        editedCell_ = {index.row() + 1, index.column() + 1};
        editor_->setParent(parent);
        return editor_;
    }
    // Over the cell and its grid lines, one pixel wider and higher than the column and the row.
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        editor->setGeometry(option.rect.adjusted(1, 1, 3, 3));
    }
    // The window keeps its editor for the next edit.
    void destroyEditor(QWidget*, const QModelIndex&) const override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != editor_)
            return QStyledItemDelegate::eventFilter(watched, event);
        if (IsEnterKey(event) || event->type() == QEvent::FocusOut) {
            // A refusal's message box takes the focus while the commit runs; that ends nothing.
            if (!committing_ && (IsEnterKey(event) || IsFocusLoss(event)))
                EndEdit();
            return IsEnterKey(event);
        }
        const bool tab = event->type() == QEvent::KeyPress
            && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab
                || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backtab);
        return !tab && QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    void EndEdit()
    {
        committing_ = true;
        const bool stored = commit_(editedCell_, editor_->text());
        committing_ = false;
        if (stored) {
            emit closeEditor(editor_, NoHint);
            return;
        }
        // The editor keeps the refused text and takes the focus back once the key or click that ended the edit
        // is done, so that Escape cancels the edit instead of ending the program.
        QTimer::singleShot(0, editor_, [editor = editor_] {
            if (editor->isVisible())
                editor->setFocus(Qt::OtherFocusReason);
        });
    }

    QLineEdit* editor_;
    IoGrid::CommitFunction commit_;
    mutable CellPosition editedCell_{0, 0};
    bool committing_ = false;
};

} // namespace

IoGrid::IoGrid(QTableView* view) : QAbstractTableModel(view), view_(view)
{
    view_->setModel(this);
    LayOut();
}

void IoGrid::LayOut()
{
    view_->setFont(ResolveTemplateFont(QStringLiteral("SimSun"), 9));
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setTabKeyNavigation(false); // Tab leaves the grid, as in the rest of the window
    view_->setWordWrap(false);
    view_->setTextElideMode(Qt::ElideNone); // "FF" fits a 300-twip column, just not with an ellipsis's margins
    view_->setCornerButtonEnabled(false);
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Base, OutsideCellsColor);
    view_->setPalette(palette);

    QHeaderView* columns = view_->horizontalHeader();
    QHeaderView* rows = view_->verticalHeader();
    for (QHeaderView* headings : {columns, rows}) {
        headings->setSectionResizeMode(QHeaderView::Fixed);
        headings->setSectionsClickable(false);
        headings->setHighlightSections(false);
        headings->setMinimumSectionSize(1);
        headings->setFont(view_->font()); // the platform gives headers a font of their own otherwise
    }
    // Rows as tall as the digits need, not the full line height of the CJK fallback fonts (which would scroll
    // the grid much further than its 240-twip rows do).
    const QRect digits = view_->fontMetrics().tightBoundingRect(QStringLiteral("0123456789ABCDEF"));
    const int rowHeight = std::max(TwipsToPixels(RowHeightTwips, view_->logicalDpiY()), digits.height() + 6);
    rows->setDefaultSectionSize(rowHeight);
    columns->setFixedHeight(rowHeight);
    rows->setFixedWidth(TwipsToPixels(HeaderColumnWidthTwips, view_->logicalDpiX()));
    columns->setDefaultSectionSize(TwipsToPixels(DataColumnWidthTwips, view_->logicalDpiX()));
}

void IoGrid::EnableEditing(QLineEdit* editor, EditablePredicate editable, CommitFunction commit)
{
    editable_ = std::move(editable);
    view_->setItemDelegate(new LentEditorDelegate(editor, std::move(commit), view_));
    view_->setEditTriggers(QAbstractItemView::EditKeyPressed); // F2
    connect(view_, &QTableView::clicked, this, &IoGrid::EditIfEditable);
    view_->installEventFilter(this);
}

void IoGrid::EditIfEditable(const QModelIndex& index)
{
    if (flags(index) & Qt::ItemIsEditable)
        view_->edit(index);
}

bool IoGrid::eventFilter(QObject* watched, QEvent* event)
{
    // Space opens the editor on the current cell, as F2 does.
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = view_->currentIndex();
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && current.isValid()) {
            EditIfEditable(current);
            return true;
        }
    }
    return QAbstractTableModel::eventFilter(watched, event);
}

IoGrid::Cell* IoGrid::DataCell(int row, int column)
{
    return IsDataCell(row, column) ? &cells_[static_cast<std::size_t>((row - 1) * 10 + column - 1)] : nullptr;
}

const IoGrid::Cell* IoGrid::DataCell(int row, int column) const
{
    return const_cast<IoGrid*>(this)->DataCell(row, column);
}

void IoGrid::CellChanged(int row, int column)
{
    const QModelIndex cell = index(row - 1, column - 1);
    emit dataChanged(cell, cell);
}

std::string IoGrid::CellText(int row, int column) const
{
    if (row == 0 && IsDataCell(1, column))
        return std::to_string(column - 1);
    if (column == 0 && IsDataCell(row, 1))
        return RowHeading(row).toStdString();
    const Cell* cell = DataCell(row, column);
    return cell ? cell->text.toStdString() : std::string();
}

void IoGrid::SetCellText(int row, int column, const std::string& text)
{
    Cell* cell = DataCell(row, column);
    const QString newText = QString::fromStdString(text);
    if (cell && cell->text != newText) {
        cell->text = newText;
        CellChanged(row, column);
    }
}

void IoGrid::SetCellActive(int row, int column, bool active)
{
    Cell* cell = DataCell(row, column);
    if (cell && cell->active != active) {
        cell->active = active;
        CellChanged(row, column);
    }
}

bool IoGrid::IsCellActive(int row, int column) const
{
    const Cell* cell = DataCell(row, column);
    return cell && cell->active;
}

void IoGrid::SetAllDataCellsActive(bool active)
{
    for (Cell& cell : cells_)
        cell.active = active;
    emit dataChanged(index(0, 0), index(GridRows - 2, GridColumns - 2));
}

int IoGrid::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridRows - 1;
}

int IoGrid::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridColumns - 1;
}

QVariant IoGrid::data(const QModelIndex& index, int role) const
{
    const Cell* cell = DataCell(index.row() + 1, index.column() + 1);
    if (!index.isValid() || !cell)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell->text;
    case Qt::BackgroundRole:
        return cell->active ? ActiveCellColor() : InactiveCellColor;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

QVariant IoGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? QString::number(section) : RowHeading(section + 1);
}

Qt::ItemFlags IoGrid::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags plain = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const bool editable = editable_ && editable_(index.row() + 1, index.column() + 1);
    return editable ? plain | Qt::ItemIsEditable : plain;
}

} // namespace trelmo

#include "AppDataObjectsDialog.h"

#include "DecimalText.h"
#include "MessageBoxes.h"
#include "OutcomeTexts.h"
#include "StringTable.h"
#include "TypedInput.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>
#include <array>

namespace trelmo {
namespace {

struct ListColumn {
    TextId headingTextId;
    int width; // pixels
};
constexpr std::array<ListColumn, 4> kColumns{
    {{TextId::InstanceNumber, 70}, {TextId::AttributeNumber, 70}, {TextId::Length, 50}, {TextId::Data, 530}}};

// Draws each cell with a grid line on its right and bottom edge, as a report list with grid lines does.
class GridLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

} // namespace

CAppDataObjectsDialog::CAppDataObjectsDialog(AppDataObjectTable& table, QWidget* parent)
    : CToolWindow(AppDataObjectsControl::Template, parent, Kind::Modeless), table_(table)
{
    namespace ids = AppDataObjectsControl;
    instance_ = RequiredControl<QLineEdit>(this, ids::Instance);
    attribute_ = RequiredControl<QLineEdit>(this, ids::Attribute);
    data_ = RequiredControl<QPlainTextEdit>(this, ids::Data);
    list_ = RequiredControl<QTreeWidget>(this, ids::List);
    // Enter does nothing outside the buttons: in the data field it would start a new line in what is one line of
    // hex pieces, and elsewhere the dialog would press the first button (Add) as its default.
    IgnoreEnterIn({instance_, attribute_, data_, list_});

    connect(RequiredControl<QPushButton>(this, ids::Add), &QPushButton::clicked, this, &CAppDataObjectsDialog::OnAdd);
    connect(RequiredControl<QPushButton>(this, ids::Delete), &QPushButton::clicked, this,
            &CAppDataObjectsDialog::OnDelete);
    SetUpList();
    for (const AppDataObjectEntry& entry : table_.Entries())
        InsertRow(entry);
}

void CAppDataObjectsDialog::SetUpList()
{
    list_->setColumnCount(static_cast<int>(kColumns.size()));
    QStringList headings;
    for (const ListColumn& column : kColumns)
        headings << LoadText(column.headingTextId);
    list_->setHeaderLabels(headings);
    list_->header()->setStretchLastSection(false);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The given widths suit the platform's small list font; a heading that needs more room widens its column.
    for (int i = 0; i < static_cast<int>(kColumns.size()); ++i) {
        const int given = kColumns[static_cast<std::size_t>(i)].width;
        list_->setColumnWidth(i, std::max(given, list_->header()->sectionSizeHint(i)));
    }
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setAllColumnsShowFocus(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setItemDelegate(new GridLineDelegate(list_));
}

void CAppDataObjectsDialog::InsertRow(const AppDataObjectEntry& entry)
{
    auto* row = new QTreeWidgetItem({QString::number(entry.Instance), QString::number(entry.Attribute),
                                     QString::number(entry.Data.size()), QString::fromStdString(entry.DataText)});
    row->setToolTip(3, row->text(3)); // a long data text is cut off in its column
    list_->insertTopLevelItem(0, row);
}

void CAppDataObjectsDialog::OnAdd()
{
    const AppDataObjectAddCheck check = CheckAppDataObjectAdd(
        table_, instance_->text().toStdString(), attribute_->text().toStdString(), data_->toPlainText().toStdString());
    if (check.outcome != AppDataObjectAddOutcome::Accepted) {
        ShowDialogMessage(this, LoadText(AppDataObjectAddText(check.outcome)));
        return;
    }
    if (table_.Add(check.entry))
        InsertRow(check.entry);
}

void CAppDataObjectsDialog::OnDelete()
{
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        ShowDialogMessage(this, LoadText(TextId::NoRowsSelected));
        return;
    }
    const auto first = std::min_element(selected.begin(), selected.end(),
                                        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QTreeWidgetItem* row = list_->topLevelItem(first->row());
    table_.Remove(ParseDecimalValue(row->text(0).toStdString()), ParseDecimalValue(row->text(1).toStdString()));
    delete row;
}

} // namespace trelmo

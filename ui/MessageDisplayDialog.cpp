#include "MessageDisplayDialog.h"

#include "DialogControls.h"
#include "HexText.h"
#include "MessageBoxes.h"
#include "MessageLog.h"
#include "StringTable.h"

#include <QApplication>
#include <QCache>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <array>

namespace trelmo {
namespace {

// The decoded view's headings, in column order.
constexpr std::array<TextId, DecodedLineModel::ColumnCount> kHeadingTexts{
    TextId::Time,      TextId::Direction, TextId::Type, TextId::Service,  TextId::Object, TextId::Instance,
    TextId::Attribute, TextId::Length,    TextId::Crc,  TextId::SetAside, TextId::Data};
constexpr int kRefreshPeriodMs = 100;
// The list scrolls sideways over this width, enough for the frames of an ordinary exchange.
constexpr int kMinimumLineExtent = 4650;

// Draws each line from a laid-out copy kept for the rows drawn lately. The lines run to hundreds of characters, and
// laying the visible ones out anew at every repaint (twice a cycle) held the window for tens of milliseconds.
class LaidOutLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear(); // the style draws background, selection and focus; the text is drawn below
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        if (text.isEmpty())
            return;

        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                                   .adjusted(TextMargin(style, widget), 0, -TextMargin(style, widget), 0);
        const QStaticText& laidOut = LaidOut({index.row(), index.column()}, text, item.font);
        const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (item.state & QStyle::State_Active)                               ? QPalette::Normal
                                                                                 : QPalette::Inactive;
        const QPalette::ColorRole role =
            (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(group, role));
        painter->setClipRect(textRect);
        const int top = textRect.top() + (textRect.height() - QFontMetrics(item.font).height()) / 2;
        painter->drawStaticText(textRect.left(), top, laidOut);
        painter->restore();
    }

private:
    struct Line {
        QString text;
        QStaticText laidOut;
    };

    static int TextMargin(const QStyle* style, const QWidget* widget)
    {
        return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1; // as the style's own text
    }

    using Cell = std::pair<int, int>; // row, column

    const QStaticText& LaidOut(Cell cell, const QString& text, const QFont& font) const
    {
        Line* line = cache_.object(cell);
        if (!line || line->text != text) {
            line = new Line{text, QStaticText(text)};
            line->laidOut.setTextFormat(Qt::PlainText);
            line->laidOut.prepare(QTransform(), font);
            cache_.insert(cell, line);
        }
        return line->laidOut;
    }

    mutable QCache<Cell, Line> cache_{512}; // a few screens of display lines, two of decoded rows
};

// The names of the frame types and CRC states (a line that is no frame has no CRC state to name).
constexpr std::pair<LineKind, TextId> kKindTexts[] = {
    {LineKind::NoBytes, TextId::NoBytes},         {LineKind::BaudRateProbe, TextId::BaudRateProbe},
    {LineKind::ProbeAnswer, TextId::ProbeAnswer}, {LineKind::IoData, TextId::IoData},
    {LineKind::Request, TextId::Request},         {LineKind::Response, TextId::Response},
    {LineKind::ErrorAnswer, TextId::ErrorAnswer}, {LineKind::Unknown, TextId::UnknownType}};
constexpr std::pair<CrcState, TextId> kCrcTexts[] = {
    {CrcState::Ok, TextId::Right}, {CrcState::Bad, TextId::Error}, {CrcState::CutShort, TextId::CutShort}};

template <typename Value, std::size_t Count>
QString NameIn(const std::pair<Value, TextId> (&names)[Count], Value value)
{
    const auto named = std::find_if(std::begin(names), std::end(names),
                                    [value](const std::pair<Value, TextId>& name) { return name.first == value; });
    return named == std::end(names) ? QString() : LoadText(named->second);
}

template <typename Value, std::size_t Count>
QStringList AllNamesIn(const std::pair<Value, TextId> (&names)[Count])
{
    QStringList texts;
    for (const auto& name : names)
        texts << LoadText(name.second);
    return texts;
}

QString HexCode(std::uint8_t code)
{
    return QString::asprintf("0x%02X", code);
}

// The text of one decoded field; empty where the line has no such field.
QString FieldText(const DecodedLine& line, int column)
{
    const std::optional<ObjectHeader>& header = line.objectHeader;
    switch (column) {
    case DecodedLineModel::Time:
        return QString::fromStdString(line.time);
    case DecodedLineModel::Direction:
        return LoadText(line.direction == LineDirection::Sent ? TextId::Sent : TextId::Received);
    case DecodedLineModel::Type:
        return NameIn(kKindTexts, line.kind);
    case DecodedLineModel::Service:
        return header ? HexCode(header->service) : QString();
    case DecodedLineModel::Object:
        return header ? HexCode(header->address.object) : QString();
    case DecodedLineModel::Instance:
        return header ? QString::number(header->address.instance) : QString();
    case DecodedLineModel::Attribute:
        return header ? QString::number(header->address.attribute) : QString();
    case DecodedLineModel::Length:
        return line.length ? QString::number(*line.length) : QString();
    case DecodedLineModel::Crc:
        return NameIn(kCrcTexts, line.crc);
    case DecodedLineModel::SetAside:
        return line.setAside ? LoadText(TextId::SetAside) : QString();
    case DecodedLineModel::Data:
        return QString::fromStdString(HexPairsText(line.data)).trimmed();
    }
    return QString();
}

// Shows model, whose rows are those of the model shown now, with the same rows selected, current and at the top.
void ShowModelKeepingRows(QTableView* list, QAbstractItemModel* model)
{
    std::vector<std::pair<int, int>> selectedRows; // first, last
    for (const QItemSelectionRange& range : list->selectionModel()->selection())
        selectedRows.emplace_back(range.top(), range.bottom());
    const int currentRow = list->currentIndex().row();
    const int topRow = list->rowAt(0);

    QItemSelectionModel* previousSelection = list->selectionModel();
    list->setModel(model);
    delete previousSelection; // the view leaves the old one to its owner

    QItemSelection selection;
    const int lastColumn = model->columnCount() - 1;
    for (const auto& [first, last] : selectedRows)
        selection.select(model->index(first, 0), model->index(last, lastColumn));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (currentRow >= 0)
        list->selectionModel()->setCurrentIndex(model->index(currentRow, 0), QItemSelectionModel::NoUpdate);
    list->doItemsLayout(); // the scroll range follows the new model at once
    if (topRow >= 0)
        list->scrollTo(model->index(topRow, 0), QAbstractItemView::PositionAtTop);
}

} // namespace

int DisplayLineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant DisplayLineModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    const std::string line = DisplayLine(static_cast<std::size_t>(index.row()));
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

void DisplayLineModel::Append(std::vector<LogEntry> entries)
{
    if (entries.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
    for (LogEntry& entry : entries) {
        if (entries_.empty() || entry.line.size() > entries_[longest_].line.size())
            longest_ = entries_.size();
        entry.line.shrink_to_fit(); // the window keeps it for its life; hex formatting leaves spare capacity
        entries_.push_back(std::move(entry));
    }
    endInsertRows();
}

std::string DisplayLineModel::LongestLine() const
{
    return entries_.empty() ? std::string() : DisplayLine(longest_);
}

std::string DisplayLineModel::LongestBytesText() const
{
    return entries_.empty() ? std::string() : entries_[longest_].line.substr(1);
}

DecodedLineModel::DecodedLineModel(const DisplayLineModel& lines, QObject* parent)
    : QAbstractTableModel(parent), lines_(lines)
{
    connect(&lines, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) { beginInsertRows(QModelIndex(), first, last); });
    connect(&lines, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
}

int DecodedLineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.Count());
}

int DecodedLineModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DecodedLineModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    return FieldText(Decoded(static_cast<std::size_t>(index.row())), index.column());
}

QVariant DecodedLineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    return LoadText(kHeadingTexts[static_cast<std::size_t>(section)]);
}

QStringList DecodedLineModel::WidestTexts(int column) const
{
    switch (column) {
    case Time:
        return {QStringLiteral("00:00:00.000")};
    case Direction:
        return {LoadText(TextId::Sent), LoadText(TextId::Received)};
    case Type:
        return AllNamesIn(kKindTexts);
    case Service:
    case Object:
        return {QStringLiteral("0xFF")};
    case Instance:
    case Attribute:
    case Length:
        return {QStringLiteral("65535")};
    case Crc:
        return AllNamesIn(kCrcTexts);
    case SetAside:
        return {LoadText(TextId::SetAside)};
    case Data:
        return {QString::fromStdString(lines_.LongestBytesText()).trimmed()};
    }
    return {};
}

const DecodedLine& DecodedLineModel::Decoded(std::size_t row) const
{
    if (!lastDecoded_ || lastDecoded_->first != row)
        lastDecoded_.emplace(row, DecodeLogEntry(lines_.Entries()[row]));
    return lastDecoded_->second;
}

CMessageDisplayDialog::CMessageDisplayDialog(MessageLog& log, QWidget* parent)
    : CToolWindow(MessageDisplayControl::Template, parent, Kind::Modeless), log_(log)
{
    // The template's list box, a one-column table view that stays fast with millions of lines, shows the model.
    list_ = RequiredControl<QTableView>(this, MessageDisplayControl::LineList);
    list_->setModel(&model_);
    list_->setItemDelegate(new LaidOutLineDelegate(list_));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection); // several lines can be copied at once
    list_->setColumnWidth(0, kMinimumLineExtent);

    pauseButton_ = RequiredControl<QPushButton>(this, MessageDisplayControl::Pause);
    connect(pauseButton_, &QPushButton::clicked, this, &CMessageDisplayDialog::TogglePause);
    connect(RequiredControl<QPushButton>(this, MessageDisplayControl::Save), &QPushButton::clicked, this,
            &CMessageDisplayDialog::SaveDisplayedLines);
    decodeBox_ = RequiredControl<QCheckBox>(this, MessageDisplayControl::Decode);
    const QString decodeCaption = LoadText(TextId::Decode);
    decodeBox_->setText(decodeCaption);
    decodeBox_->setAccessibleName(StripMnemonic(decodeCaption));
    connect(decodeBox_, &QCheckBox::toggled, this, &CMessageDisplayDialog::ShowDecoded);

    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &CMessageDisplayDialog::CopySelectedLines);

    reader_.emplace(log_);
    timer_.setInterval(kRefreshPeriodMs);
    connect(&timer_, &QTimer::timeout, this, &CMessageDisplayDialog::RefreshFromLog);
    timer_.start();
}

void CMessageDisplayDialog::RefreshFromLog()
{
    if (!reader_)
        return;
    std::vector<LogEntry> entries = reader_->TakeAll();
    if (entries.empty())
        return;
    model_.Append(std::move(entries));
    WidenForLongestLine();
    SelectNewestLine();
}

void CMessageDisplayDialog::SelectNewestLine()
{
    const QModelIndex newest = list_->model()->index(model_.rowCount() - 1, 0);
    QScrollBar* sideways = list_->horizontalScrollBar();
    const int sidewaysPosition = sideways->value();
    list_->selectionModel()->setCurrentIndex(newest, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(newest);
    sideways->setValue(sidewaysPosition);
}

int CMessageDisplayDialog::TextExtent(const QString& text) const
{
    return list_->fontMetrics().horizontalAdvance(text)
        + 2 * list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 8;
}

// Widens the column that holds the frames' bytes, when the longest entry so far needs it.
void CMessageDisplayDialog::WidenForLongestLine()
{
    int needed = 0;
    int column = 0;
    if (ShowsDecoded()) {
        column = DecodedLineModel::Data;
        needed = TextExtent(decodedModel_.WidestTexts(column).value(0));
    } else {
        const std::string longest = model_.LongestLine();
        needed = TextExtent(QString::fromLatin1(longest.data(), static_cast<qsizetype>(longest.size())));
    }
    if (needed > list_->columnWidth(column))
        list_->setColumnWidth(column, needed);
}

void CMessageDisplayDialog::SizeColumns()
{
    if (!ShowsDecoded()) {
        list_->setColumnWidth(0, kMinimumLineExtent);
        WidenForLongestLine();
        return;
    }
    for (int column = 0; column < DecodedLineModel::ColumnCount; ++column) {
        int width = list_->horizontalHeader()->sectionSizeHint(column);
        for (const QString& text : decodedModel_.WidestTexts(column))
            width = std::max(width, TextExtent(text));
        list_->setColumnWidth(column, width);
    }
}

bool CMessageDisplayDialog::ShowsDecoded() const
{
    return list_->model() == &decodedModel_;
}

void CMessageDisplayDialog::ShowDecoded(bool decoded)
{
    if (decodeBox_->isChecked() != decoded) {
        decodeBox_->setChecked(decoded); // its toggled() calls back
        return;
    }
    if (decoded == ShowsDecoded())
        return;
    ShowModelKeepingRows(list_, decoded ? static_cast<QAbstractItemModel*>(&decodedModel_) : &model_);
    list_->horizontalHeader()->setVisible(decoded);
    list_->horizontalHeader()->setSectionResizeMode(decoded ? QHeaderView::Interactive : QHeaderView::Fixed);
    SizeColumns();
}

void CMessageDisplayDialog::TogglePause()
{
    const QString pauseText = LoadText(TextId::Pause);
    if (pauseButton_->text() == pauseText) {
        SetCaption(pauseButton_, LoadText(TextId::Continue));
        timer_.stop();
        reader_.reset();
        return;
    }
    reader_.emplace(log_);
    SetCaption(pauseButton_, pauseText);
    timer_.start();
}

std::vector<std::string> CMessageDisplayDialog::DisplayedLines() const
{
    std::vector<std::string> lines;
    lines.reserve(model_.Count());
    for (std::size_t row = 0; row < model_.Count(); ++row)
        lines.push_back(model_.DisplayLine(row));
    return lines;
}

void CMessageDisplayDialog::SaveDisplayedLines()
{
    const SaveChoice choice = chooser_ ? chooser_(this) : SaveChoice();
    if (choice.path.isEmpty())
        return;
    const std::string path = QFile::encodeName(choice.path).toStdString();
    const std::deque<LogEntry>& entries = model_.Entries();
    const bool saved = choice.format == SaveFormat::Capture
        ? WriteLogCapture(path, entries.size(),
                          [&entries](std::size_t row) -> const LogEntry& { return entries[row]; })
        : WriteDisplayLines(path, entries.size(), [this](std::size_t row) { return model_.DisplayLine(row); });
    ShowDialogMessage(this, LoadText(saved ? TextId::Saved : TextId::SaveFailed));
}

void CMessageDisplayDialog::CopySelectedLines()
{
    QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    const QAbstractItemModel* shown = list_->model();
    QStringList lines;
    QStringList fields;
    for (const QModelIndex& row : rows) {
        fields.clear();
        for (int column = 0; column < shown->columnCount(); ++column)
            fields << shown->index(row.row(), column).data().toString();
        lines << fields.join(QLatin1Char('\t'));
    }
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

SaveChoice CMessageDisplayDialog::ChooseSaveFile(QWidget* parent)
{
    const QString textFilter = LoadText(TextId::TextFilter);
    const QString captureFilter = LoadText(TextId::CaptureFilter);
    QFileDialog dialog(parent);
    dialog.setNameFilters({textFilter, captureFilter});
    dialog.selectNameFilter(textFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without a suffix gets the chosen type's suffix before the overwrite prompt; the name returned is
    // the file written.
    const auto suffixFor = [captureFilter](const QString& filter) {
        return filter == captureFilter ? QStringLiteral("pcapng") : QStringLiteral("txt");
    };
    dialog.setDefaultSuffix(suffixFor(textFilter));
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog, suffixFor](const QString& filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
    if (dialog.exec() != QDialog::Accepted)
        return SaveChoice();
    const SaveFormat format = dialog.selectedNameFilter() == captureFilter ? SaveFormat::Capture : SaveFormat::Text;
    return SaveChoice(dialog.selectedFiles().value(0), format);
}

} // namespace trelmo

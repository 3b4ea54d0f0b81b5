#include "MessageDisplayDialog.h"

#include "MessageBoxes.h"
#include "MessageLog.h"
#include "StringTable.h"

#include <QApplication>
#include <QCache>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

namespace trelmo {
namespace {

constexpr int kMessageDisplayTemplate = 142;
constexpr int kPauseButton = 1046;
constexpr int kSaveButton = 1047;
constexpr int kLineList = 1048;
constexpr int kTextPause = 122;
constexpr int kTextContinue = 123;
constexpr int kTextSaveFailed = 124;
constexpr int kTextSaved = 125;
constexpr int kTextTextFilter = 147;    // "Text (*.txt)"
constexpr int kTextCaptureFilter = 148; // "Capture (*.pcapng)"
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

        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                                   .adjusted(TextMargin(style, widget), 0, -TextMargin(style, widget), 0);
        const QStaticText& laidOut = LaidOut(index.row(), text, item.font);
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

    const QStaticText& LaidOut(int row, const QString& text, const QFont& font) const
    {
        Line* line = cache_.object(row);
        if (!line || line->text != text) {
            line = new Line{text, QStaticText(text)};
            line->laidOut.setTextFormat(Qt::PlainText);
            line->laidOut.prepare(QTransform(), font);
            cache_.insert(row, line);
        }
        return line->laidOut;
    }

    mutable QCache<int, Line> cache_{512}; // a few screens of rows
};

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

CMessageDisplayDialog::CMessageDisplayDialog(MessageLog& log, QWidget* parent)
    : CToolWindow(kMessageDisplayTemplate, parent), log_(log)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    // The template's list box, a one-column table view that stays fast with millions of lines, shows the model.
    list_ = Control<QTableView>(this, kLineList);
    if (!list_)
        list_ = new QTableView(this);
    list_->setModel(&model_);
    list_->setItemDelegate(new LaidOutLineDelegate(list_));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection); // several lines can be copied at once
    list_->setColumnWidth(0, kMinimumLineExtent);

    pauseButton_ = Control<QPushButton>(this, kPauseButton);
    if (pauseButton_)
        connect(pauseButton_, &QPushButton::clicked, this, &CMessageDisplayDialog::TogglePause);
    if (auto* saveButton = Control<QPushButton>(this, kSaveButton))
        connect(saveButton, &QPushButton::clicked, this, &CMessageDisplayDialog::SaveDisplayedLines);

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
    const QModelIndex newest = model_.index(model_.rowCount() - 1, 0);
    QScrollBar* sideways = list_->horizontalScrollBar();
    const int sidewaysPosition = sideways->value();
    list_->selectionModel()->setCurrentIndex(newest, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(newest);
    sideways->setValue(sidewaysPosition);
}

void CMessageDisplayDialog::WidenForLongestLine()
{
    const std::string longest = model_.LongestLine();
    const int needed = list_->fontMetrics().horizontalAdvance(
                           QString::fromLatin1(longest.data(), static_cast<qsizetype>(longest.size())))
        + 2 * list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 8;
    if (needed > list_->columnWidth(0))
        list_->setColumnWidth(0, needed);
}

void CMessageDisplayDialog::TogglePause()
{
    if (!pauseButton_)
        return;
    const QString pauseText = LoadText(kTextPause);
    if (pauseButton_->text() == pauseText) {
        SetCaption(pauseButton_, LoadText(kTextContinue));
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
    ShowDialogMessage(this, LoadText(saved ? kTextSaved : kTextSaveFailed));
}

void CMessageDisplayDialog::CopySelectedLines()
{
    QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (const QModelIndex& row : rows)
        lines << row.data().toString();
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

SaveChoice CMessageDisplayDialog::ChooseSaveFile(QWidget* parent)
{
    const QString textFilter = LoadText(kTextTextFilter);
    const QString captureFilter = LoadText(kTextCaptureFilter);
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

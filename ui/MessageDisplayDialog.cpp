#include "MessageDisplayDialog.h"

#include "DialogTemplate.h"
#include "MessageBoxes.h"
#include "MessageLog.h"
#include "StringTable.h"

#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

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
constexpr int kRefreshPeriodMs = 100;
// The list scrolls sideways over this width, enough for the frames of an ordinary exchange.
constexpr int kMinimumLineExtent = 4650;

} // namespace

int DisplayLineModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant DisplayLineModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    const std::string& line = lines_[static_cast<std::size_t>(index.row())];
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

void DisplayLineModel::Append(std::vector<std::string> lines)
{
    if (lines.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(lines.size()) - 1);
    for (std::string& line : lines) {
        if (lines_.empty() || line.size() > lines_[longest_].size())
            longest_ = lines_.size();
        lines_.push_back(std::move(line));
    }
    endInsertRows();
}

const std::string& DisplayLineModel::LongestLine() const
{
    static const std::string none;
    return lines_.empty() ? none : lines_[longest_];
}

CMessageDisplayDialog::CMessageDisplayDialog(MessageLog& log, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      log_(log)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    BuildDialogFromTemplate(this, DialogTemplate::Load(kMessageDisplayTemplate));
    ShowLinesInList();

    pauseButton_ = Control<QPushButton>(this, kPauseButton);
    if (pauseButton_)
        connect(pauseButton_, &QPushButton::clicked, this, &CMessageDisplayDialog::TogglePause);
    if (auto* saveButton = Control<QPushButton>(this, kSaveButton))
        connect(saveButton, &QPushButton::clicked, this, &CMessageDisplayDialog::SaveDisplayedLines);

    reader_.emplace(log_);
    timer_.setInterval(kRefreshPeriodMs);
    connect(&timer_, &QTimer::timeout, this, &CMessageDisplayDialog::RefreshFromLog);
    timer_.start();
}

// The template's list box is a one-column table view (it stays fast with millions of lines); it shows the model.
void CMessageDisplayDialog::ShowLinesInList()
{
    list_ = Control<QTableView>(this, kLineList);
    if (!list_)
        list_ = new QTableView(this);
    list_->setModel(&model_);
    list_->setColumnWidth(0, kMinimumLineExtent);
}

void CMessageDisplayDialog::RefreshFromLog()
{
    if (!reader_)
        return;
    const std::vector<LogEntry> entries = reader_->TakeAll();
    if (entries.empty())
        return;
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const LogEntry& entry : entries)
        lines.push_back(FormatDisplayLine(entry.line));
    model_.Append(std::move(lines));
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
    const std::string& longest = model_.LongestLine();
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
    const QString continueText = LoadText(kTextContinue);
    if (pauseButton_->text() == pauseText) {
        pauseButton_->setText(continueText);
        pauseButton_->setAccessibleName(continueText);
        timer_.stop();
        reader_.reset();
        return;
    }
    reader_.emplace(log_);
    pauseButton_->setText(pauseText);
    pauseButton_->setAccessibleName(pauseText);
    timer_.start();
}

void CMessageDisplayDialog::SaveDisplayedLines()
{
    const QString chosen = chooser_ ? chooser_(this) : QString();
    if (chosen.isEmpty())
        return;
    const bool saved = WriteDisplayLines(QFile::encodeName(chosen).toStdString(), model_.Lines());
    ShowDialogMessage(this, LoadText(saved ? kTextSaved : kTextSaveFailed));
}

QString CMessageDisplayDialog::ChooseSaveFile(QWidget* parent)
{
    QFileDialog dialog(parent, QString(), QString(), QStringLiteral("Txt Files (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without a suffix gets ".txt" before the overwrite prompt; the name returned is the file written.
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

} // namespace trelmo

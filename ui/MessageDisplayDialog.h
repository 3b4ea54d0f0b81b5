#pragma once
// The Message Display window: a modeless window that shows every frame logged while it runs, taking them from its
// own reader of the frame log ten times a second, as display lines or decoded into fields ("Decode"); it can be
// paused and continued, saves the lines it shows to a text file or a capture, and copies the selected lines. Any
// number may be open, each showing every line; each frees itself when closed.

#include "FrameDecoder.h"
#include "MessageLog.h"
#include "ToolWindow.h"

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QTimer>

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QTableView;

namespace trelmo {

// The logged frames one window shows, each with its time, kept as 8-bit log lines and formatted as display lines
// when shown. A day's traffic is millions of lines: the storage grows block by block, so adding lines never moves
// the ones held.
class DisplayLineModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Adds the entries at the end in one insertion.
    void Append(std::vector<LogEntry> entries);
    std::size_t Count() const { return entries_.size(); }
    const std::deque<LogEntry>& Entries() const { return entries_; }
    std::string DisplayLine(std::size_t row) const { return FormatDisplayLine(entries_[row].line); }
    // The display line of the longest entry added so far (empty when none).
    std::string LongestLine() const;
    // The hex pairs of the longest entry added so far (empty when none).
    std::string LongestBytesText() const;

private:
    std::deque<LogEntry> entries_;
    std::size_t longest_ = 0;
};

// The decoded table over a DisplayLineModel's entries: one row per entry, its fields decoded when shown (the entries
// are not copied). Data comes last, as it is the one field that runs long.
class DecodedLineModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Time, Direction, Type, Service, Object, Instance, Attribute, Length, Crc, SetAside, Data };
    static constexpr int ColumnCount = Data + 1;

    // Follows the rows inserted into lines, which must outlive the model.
    explicit DecodedLineModel(const DisplayLineModel& lines, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The texts that bound the column's width: every name it shows, its widest value, for Data that of the
    // longest entry held so far.
    QStringList WidestTexts(int column) const;

private:
    const DecodedLine& Decoded(std::size_t row) const;

    const DisplayLineModel& lines_;
    // The row decoded last: a view asks for every cell of a row in turn.
    mutable std::optional<std::pair<std::size_t, DecodedLine>> lastDecoded_;
};

// What a save writes: the display lines as text, or the frames with their times and directions as a capture.
enum class SaveFormat { Text, Capture };

// The path to save to and its format; an empty path means the user cancelled.
struct SaveChoice {
    SaveChoice(QString chosenPath = QString(), SaveFormat chosenFormat = SaveFormat::Text)
        : path(std::move(chosenPath)), format(chosenFormat) {}
    QString path;
    SaveFormat format;
};
using SaveFileChooser = std::function<SaveChoice(QWidget* parent)>;

class CMessageDisplayDialog : public CToolWindow {
    Q_OBJECT

public:
    // Shows every line appended to log from now on; log must stay alive while the window runs.
    explicit CMessageDisplayDialog(MessageLog& log, QWidget* parent = nullptr);

    // One tick: takes the lines logged since the last tick, shows them formatted and selects the newest.
    void RefreshFromLog();
    // Pause stops the ticks and closes the reader, so nothing piles up; Continue opens a new reader (what was
    // logged meanwhile is never shown) and starts the ticks again.
    void TogglePause();
    // Asks for a file and a format, writes the shown lines to exactly that file, then reports success or failure.
    void SaveDisplayedLines();
    // Puts the selected lines, as shown and oldest first, on the clipboard, one per line (Ctrl+C); decoded rows
    // with their fields separated by tabs, as a spreadsheet takes them.
    void CopySelectedLines();
    // Shows the decoded table or the display lines (the "Decode" check box), keeping the selection and the rows
    // in view.
    void ShowDecoded(bool decoded);
    bool ShowsDecoded() const;

    bool IsRunning() const { return timer_.isActive(); }
    // The shown lines as display lines (a copy: meant for checks on short lists).
    std::vector<std::string> DisplayedLines() const;
    QTableView* LineList() const { return list_; }

    // Replaces the file dialog (tests choose paths or cancel without a modal dialog).
    void SetFileChooser(SaveFileChooser chooser) { chooser_ = std::move(chooser); }
    // The file dialog: the filters "Text (*.txt)" (the default) and "Capture (*.pcapng)", the chosen type's suffix
    // added to a name typed without one, an overwrite prompt.
    static SaveChoice ChooseSaveFile(QWidget* parent);

private:
    void SelectNewestLine();
    void WidenForLongestLine();
    void SizeColumns();
    int TextExtent(const QString& text) const;

    MessageLog& log_;
    DisplayLineModel model_;
    DecodedLineModel decodedModel_{model_};
    std::optional<MessageLog::Reader> reader_;
    QTimer timer_;
    QTableView* list_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QCheckBox* decodeBox_ = nullptr;
    SaveFileChooser chooser_ = ChooseSaveFile;
};

} // namespace trelmo

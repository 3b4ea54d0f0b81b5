#pragma once
// The Message Display window: a modeless window that shows every frame logged while it runs, taking them from its
// own reader of the frame log ten times a second; it can be paused and continued, and saves the lines it shows to
// a text file. Any number may be open, each showing every line; each frees itself when closed.

#include "MessageLog.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPushButton;
class QTableView;

namespace trelmo {

// The display lines of one window, kept as 8-bit strings: a day's traffic is millions of lines.
class DisplayLineModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Adds the lines at the end in one insertion.
    void Append(std::vector<std::string> lines);
    const std::vector<std::string>& Lines() const { return lines_; }
    // The longest line added so far (empty when none).
    const std::string& LongestLine() const;

private:
    std::vector<std::string> lines_;
    std::size_t longest_ = 0;
};

// Asks for the path to save to; an empty result means the user cancelled.
using SaveFileChooser = std::function<QString(QWidget* parent)>;

class CMessageDisplayDialog : public QDialog {
    Q_OBJECT

public:
    // Shows every line appended to log from now on; log must stay alive while the window runs.
    explicit CMessageDisplayDialog(MessageLog& log, QWidget* parent = nullptr);

    // One tick: takes the lines logged since the last tick, shows them formatted and selects the newest.
    void RefreshFromLog();
    // Pause stops the ticks and closes the reader, so nothing piles up; Continue opens a new reader (what was
    // logged meanwhile is never shown) and starts the ticks again.
    void TogglePause();
    // Asks for a file and writes the shown lines to exactly that file, then reports success or failure.
    void SaveDisplayedLines();

    bool IsRunning() const { return timer_.isActive(); }
    const std::vector<std::string>& DisplayedLines() const { return model_.Lines(); }
    QTableView* LineList() const { return list_; }

    // Replaces the file dialog (tests choose paths or cancel without a modal dialog).
    void SetFileChooser(SaveFileChooser chooser) { chooser_ = std::move(chooser); }
    // The file dialog: filter "Txt Files (*.txt)", ".txt" added to a name typed without a suffix, overwrite prompt.
    static QString ChooseSaveFile(QWidget* parent);

private:
    void ShowLinesInList();
    void SelectNewestLine();
    void WidenForLongestLine();

    MessageLog& log_;
    DisplayLineModel model_;
    std::optional<MessageLog::Reader> reader_;
    QTimer timer_;
    QTableView* list_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    SaveFileChooser chooser_ = ChooseSaveFile;
};

} // namespace trelmo

#pragma once
// The Link Statistics window: the link's counts since the last Connect (cycles by how the module answered, bytes set
// aside, the cycle period), read from the link controller once a second. Modeless, display only; it frees itself
// when closed.

#include "LinkController.h"

#include "ToolWindow.h"

#include <QTimer>

namespace trelmo {

// Dialog template 156 and its control ids.
namespace LinkStatisticsControl {
constexpr int Template = 156;
constexpr int Cycles = 1057;
constexpr int Answered = 1058;
constexpr int NoAnswer = 1059;
constexpr int BrokenAnswers = 1060;
constexpr int ErrorAnswers = 1061;
constexpr int SetAsideBytes = 1062;
constexpr int LastPeriod = 1063;
constexpr int MeanPeriod = 1064;
constexpr int SlowestPeriod = 1065;
} // namespace LinkStatisticsControl

constexpr int LinkStatisticsRefreshMs = 1000;

class CLinkStatisticsDialog : public CToolWindow {
    Q_OBJECT

public:
    // The link must outlive the dialog.
    explicit CLinkStatisticsDialog(const LinkController& link, QWidget* parent = nullptr);

public slots:
    // Shows the link's counts as it last reported them; the periods stay empty until one was measured.
    void Refresh();

private:
    const LinkController& link_;
    QTimer refreshTimer_;
};

} // namespace trelmo

#include "LinkStatisticsDialog.h"

#include <QLineEdit>

#include <utility>

namespace trelmo {
namespace {

QString PeriodText(LinkStatistics::Clock::duration period)
{
    return QString::number(Milliseconds(period), 'f', 1);
}

} // namespace

CLinkStatisticsDialog::CLinkStatisticsDialog(const LinkController& link, QWidget* parent)
    : CToolWindow(LinkStatisticsControl::Template, parent, Kind::Modeless), link_(link)
{
    connect(&refreshTimer_, &QTimer::timeout, this, &CLinkStatisticsDialog::Refresh);
    refreshTimer_.start(LinkStatisticsRefreshMs);
    Refresh();
}

void CLinkStatisticsDialog::Refresh()
{
    using namespace LinkStatisticsControl;
    const LinkStatistics counted = link_.Statistics();
    const bool measured = counted.periods > 0;
    const std::pair<int, QString> fields[] = {
        {Cycles, QString::number(counted.cycles)},
        {Answered, QString::number(counted.answered)},
        {NoAnswer, QString::number(counted.noAnswer)},
        {BrokenAnswers, QString::number(counted.brokenAnswers)},
        {ErrorAnswers, QString::number(counted.errorAnswers)},
        {SetAsideBytes, QString::number(counted.setAsideBytes)},
        {LastPeriod, measured ? PeriodText(counted.lastPeriod) : QString()},
        {MeanPeriod, measured ? PeriodText(counted.MeanPeriod()) : QString()},
        {SlowestPeriod, measured ? PeriodText(counted.slowestPeriod) : QString()},
    };
    for (const auto& [id, text] : fields)
        RequiredControl<QLineEdit>(this, id)->setText(text);
}

} // namespace trelmo

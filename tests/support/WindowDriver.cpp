#include "WindowDriver.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace trelmo::testing {
namespace {

std::vector<QPointer<QTimer>>& PendingPolls()
{
    static std::vector<QPointer<QTimer>> polls;
    return polls;
}

} // namespace

void detail::TrackModalPoll(QTimer* poll)
{
    PendingPolls().emplace_back(poll);
}

void DropPendingModalActions()
{
    for (const QPointer<QTimer>& poll : PendingPolls())
        delete poll.data();
    PendingPolls().clear();
}

void ShowActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window)) << "the window did not become active";
}

QString AccessibleText(QWidget* widget, QAccessible::Text text)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(text) : QString();
}

} // namespace trelmo::testing

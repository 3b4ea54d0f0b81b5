#pragma once
// Driving windows as a user would: acting on a modal dialog from inside its own event loop, making a window the
// active one, and reading what assistive technology reads from a control.

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace trelmo::testing {

namespace detail {
void TrackModalPoll(QTimer* poll);
} // namespace detail

// Calls action with the first modal dialog of type T that becomes active within timeoutMs. Call it before the
// click that opens the dialog: the dialog's own event loop delivers the polling timer. An action still waiting when
// the test ends is dropped (see DropPendingModalActions).
template <typename T>
void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000)
{
    auto* poll = new QTimer;
    detail::TrackModalPoll(poll);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, clock, action, timeoutMs] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && clock->elapsed() < timeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        if (dialog)
            action(dialog);
    });
    poll->start(5);
}

// WhenModal, then rejects the dialog if the action left it open, so that the test cannot hang in its event loop.
template <typename T>
void WhenModalThenClose(std::function<void(T*)> action, int timeoutMs = 5000)
{
    WhenModal<T>(
        [action](T* dialog) {
            action(dialog);
            if (dialog->isVisible())
                dialog->reject();
        },
        timeoutMs);
}

// Drops every WhenModal action still waiting for its dialog, so that none outlives the test whose variables it
// uses. The GUI test main calls it after each test.
void DropPendingModalActions();

// Shows the window and makes it the active one, as a user's click on it would.
void ShowActive(QWidget& window);

// What a screen reader reads from a control (its name, value, ...); empty when it has no accessible interface.
QString AccessibleText(QWidget* widget, QAccessible::Text text = QAccessible::Name);

} // namespace trelmo::testing

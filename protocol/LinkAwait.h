#pragma once
// Waiting for the link's answer where nothing else has to go on meanwhile: trelmo-cli and tests. The caller's event
// loop runs while it waits, so the link's queued signals arrive; a window never waits this way.

#include "LinkController.h"

#include <QEventLoop>
#include <QObject>

#include <optional>

namespace trelmo {

// Asks the link (ask) and runs the event loop until the signal brings the answer. The link's signals are queued to
// this thread, so the answer cannot come before the loop runs.
template <typename Result, typename Ask>
Result AwaitLink(LinkController& link, void (LinkController::*signal)(Result), Ask ask)
{
    std::optional<Result> answer;
    QEventLoop loop;
    QObject::connect(&link, signal, &loop, [&](const Result& result) {
        answer = result;
        loop.quit();
    });
    ask();
    loop.exec();
    return *answer;
}

template <typename Ask>
void AwaitLink(LinkController& link, void (LinkController::*signal)(), Ask ask)
{
    QEventLoop loop;
    QObject::connect(&link, signal, &loop, &QEventLoop::quit);
    ask();
    loop.exec();
}

// The same for a numbered request: ask returns the number, and only the answer that carries it counts.
template <typename Result, typename Ask>
Result AwaitRequest(LinkController& link, void (LinkController::*signal)(RequestId, Result), Ask ask)
{
    std::optional<Result> answer;
    RequestId asked = 0;
    QEventLoop loop;
    QObject::connect(&link, signal, &loop, [&](RequestId request, const Result& result) {
        if (request != asked)
            return;
        answer = result;
        loop.quit();
    });
    asked = ask();
    loop.exec();
    return *answer;
}

} // namespace trelmo

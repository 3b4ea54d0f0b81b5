#pragma once
// What the link counted since the last Connect: the cycles of the cyclic exchange by how the module answered, the
// bytes set aside before requests, and the cycle period. The link controller counts on its thread and hands out
// copies (LinkController::Statistics).

#include "LoggedExchange.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace trelmo {

struct LinkStatistics {
    using Clock = std::chrono::steady_clock;

    std::uint64_t cycles = 0;        // every cycle run; one whose frame could not be sent counts here only
    std::uint64_t answered = 0;      // a whole, intact frame other than an error answer
    std::uint64_t noAnswer = 0;
    std::uint64_t brokenAnswers = 0; // something came back, but not one intact frame
    std::uint64_t errorAnswers = 0;  // the module's error answer
    std::uint64_t setAsideBytes = 0; // bytes that waited before a request of any exchange

    // The cycle period: from the start of one cycle's exchange to the start of the next. Stopping the cycles ends
    // a run of periods; the pause is not one.
    std::uint64_t periods = 0;
    Clock::duration lastPeriod{};
    Clock::duration slowestPeriod{};
    Clock::duration totalPeriod{};

    // Zero until a period was measured.
    Clock::duration MeanPeriod() const
    {
        return periods == 0 ? Clock::duration{} : totalPeriod / static_cast<Clock::duration::rep>(periods);
    }

    void CountCycle(ExchangeOutcome exchange)
    {
        ++cycles;
        switch (exchange) {
        case ExchangeOutcome::Answered:
            ++answered;
            break;
        case ExchangeOutcome::NoAnswer:
            ++noAnswer;
            break;
        case ExchangeOutcome::BrokenAnswer:
            ++brokenAnswers;
            break;
        case ExchangeOutcome::Refused:
            ++errorAnswers;
            break;
        case ExchangeOutcome::NotSent:
            break;
        }
    }

    void CountPeriod(Clock::duration period)
    {
        ++periods;
        lastPeriod = period;
        slowestPeriod = std::max(slowestPeriod, period);
        totalPeriod += period;
    }
};

// A period in milliseconds, as the front ends show it.
inline double Milliseconds(LinkStatistics::Clock::duration period)
{
    return std::chrono::duration<double, std::milli>(period).count();
}

} // namespace trelmo

#include "FixedWait.h"

#include <chrono>
#include <thread>

namespace trelmo {
namespace {

void RealSleep(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

WaitFunction& Current()
{
    static WaitFunction wait = RealSleep;
    return wait;
}

} // namespace

void FixedWait(int milliseconds)
{
    Current()(milliseconds);
}

WaitFunction SetWaitFunction(WaitFunction wait)
{
    WaitFunction previous = std::move(Current());
    Current() = wait ? std::move(wait) : WaitFunction(RealSleep);
    return previous;
}

} // namespace trelmo

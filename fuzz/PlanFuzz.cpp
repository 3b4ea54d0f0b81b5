// The command-line front end's test-plan reader fed arbitrary bytes as its JSON text, as `trelmo-cli run` reads a
// plan file: a plan is either read whole or refused with a reason, and the JUnit report of a read plan's steps is
// made as after a run.

#include "TestPlan.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trelmo::cli;
    const PlanParse parsed =
        ParsePlan(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (parsed.plan.has_value() == !parsed.error.isEmpty())
        std::abort();
    if (!parsed.plan)
        return 0;
    std::vector<StepReport> reports;
    for (const PlanStep& step : parsed.plan->steps)
        reports.push_back({step.name, StepVerdict::Failed, ExitCheckFailed, step.name, 0.5});
    if (JUnitReport(parsed.plan->name, reports).isEmpty())
        std::abort();
    return 0;
}

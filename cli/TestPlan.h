#pragma once
// Test plans: a JSON list of steps (info, read, write, exchange), each with what it expects, run on one connection;
// one line per step, optionally a JUnit XML report.
//
//   {"name": "smoke",
//    "steps": [{"step": "info", "expect": {"networkType": "Virtual Fieldbus", "serialNumber": "123456"}},
//              {"step": "write", "object": "01", "instance": 1, "attribute": 3, "data": "00 65"},
//              {"step": "read", "object": "01", "instance": 1, "attribute": 3, "expect": "00 65"},
//              {"step": "exchange", "cycles": 2, "write": "AA BB", "serve": ["1:1=0A 0B"]}]}

#include "CliSession.h"
#include "Operations.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace trelmo::cli {

enum class StepKind { Info, Read, Write, Exchange };

struct PlanStep {
    StepKind kind = StepKind::Info;
    QString name;                       // given, or made from the step
    ObjectTarget target;                // read, write
    Bytes data;                         // write: the bytes to write
    std::optional<Bytes> expectedBytes; // read: the data; exchange: the read data of the last cycle
    std::map<QString, QString> expectedInfo; // info: field name -> text
    ExchangeRequest exchange;
};

struct Plan {
    QString name;
    std::vector<PlanStep> steps;
};

struct PlanParse {
    std::optional<Plan> plan;
    QString error; // why the plan was refused
};

// Reads a plan from its JSON text; anything malformed is refused with a reason, never half read.
PlanParse ParsePlan(const QByteArray& json);

// The largest plan file read.
constexpr qint64 MaxPlanFileBytes = 16 * 1024 * 1024;

// Reads the plan in a file. Anything but a regular file of at most MaxPlanFileBytes is refused without being read
// (a FIFO never makes it wait); the reason given starts with the path.
PlanParse ReadPlanFile(const QString& path);

enum class StepVerdict { Passed, Failed, Skipped };

struct StepReport {
    QString name;
    StepVerdict verdict = StepVerdict::Skipped;
    int status = ExitOk; // the exit status the failure stands for
    QString message;
    double seconds = 0;
};

// Runs the steps on a connected session and prints one line per step; stops at the first failure unless keepGoing
// (the steps left are reported as skipped).
std::vector<StepReport> RunPlan(CliSession& session, const Plan& plan, bool keepGoing, Output& output);

// The JUnit XML of a run: one test suite named after the plan, one test case per step.
QByteArray JUnitReport(const QString& planName, const std::vector<StepReport>& reports);

} // namespace trelmo::cli

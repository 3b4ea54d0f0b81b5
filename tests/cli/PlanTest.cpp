// Test plans: what the reader refuses, and passing and failing plans run end to end with their JUnit reports.

#include "CliRun.h"
#include "RuntimeDir.h"
#include "SimProcess.h"
#include "TestPlan.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace trelmo {
namespace {

using cli::ParsePlan;
using testing::CliRun;
using testing::RunCliProgram;
using testing::RuntimeDir;
using testing::SimProcess;

TEST(PlanTest, MalformedPlansAreRefusedWithTheirReason)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "not JSON"},
        {"{\"steps\": [", "not JSON"},
        {"[]", "non-empty \"steps\""},
        {"{\"steps\": []}", "non-empty \"steps\""},
        {"{\"steps\": [{\"step\": \"info\"}], \"extra\": 1}", "unknown key \"extra\" in the plan"},
        {"{\"steps\": [42]}", "step 1: a step must be an object"},
        {"{\"steps\": [{\"step\": \"erase\"}]}", "step 1: \"step\" must be one of"},
        {"{\"steps\": [{\"step\": \"info\", \"expect\": {\"colour\": \"red\"}}]}", "unknown identity field"},
        {"{\"steps\": [{\"step\": \"info\", \"expect\": {\"serialNumber\": 123456}}]}", "must be a text"},
        {"{\"steps\": [{\"step\": \"info\"}, {\"step\": \"read\", \"object\": \"01\", \"instance\": 70000, "
         "\"attribute\": 1}]}", "step 2: a read or write step needs"},
        {"{\"steps\": [{\"step\": \"read\", \"object\": \"01\", \"instance\": 1.5, \"attribute\": 1}]}",
         "needs \"object\""},
        {"{\"steps\": [{\"step\": \"read\", \"object\": 1, \"instance\": 1, \"attribute\": 1}]}", "needs \"object\""},
        {"{\"steps\": [{\"step\": \"read\", \"object\": \"F1\", \"instance\": 1, \"attribute\": 1}]}", "F0 and F1"},
        {"{\"steps\": [{\"step\": \"read\", \"object\": \"01\", \"instance\": 1, \"attribute\": 1, \"expect\": "
         "\"zz\"}]}", "\"expect\" must be a text of 0 to 242 hex bytes"},
        {"{\"steps\": [{\"step\": \"write\", \"object\": \"01\", \"instance\": 1, \"attribute\": 1}]}",
         "\"data\" must be a text of 1 to 242"},
        {"{\"steps\": [{\"step\": \"write\", \"object\": \"01\", \"instance\": 1, \"attribute\": 1, \"data\": \"01\", "
         "\"expect\": \"01\"}]}", "unknown key \"expect\" in a write step"},
        {"{\"steps\": [{\"step\": \"exchange\", \"cycles\": 0}]}", "\"cycles\" must be"},
        {"{\"steps\": [{\"step\": \"exchange\", \"cycles\": 1, \"serve\": [\"1:1=0A\", \"1:1=0B\"]}]}",
         "names 1:1 twice"},
        {"{\"steps\": [{\"step\": \"exchange\", \"cycles\": 1, \"serve\": \"1:1=0A\"}]}", "\"serve\" must be a list"},
        {"{\"steps\": [{\"step\": \"exchange\", \"cycles\": 1, \"serve\": [\"1:1\"]}]}", "INST:ATTR=HEX"},
        {"{\"steps\": [{\"step\": \"exchange\", \"cycles\": 1, \"serve\": [\"1:1=0A\\n\"]}]}", "INST:ATTR=HEX"},
    };
    for (const auto& [json, reason] : cases) {
        SCOPED_TRACE(json);
        const cli::PlanParse parse = ParsePlan(QByteArray(json));
        EXPECT_FALSE(parse.plan.has_value());
        EXPECT_TRUE(parse.error.contains(QLatin1String(reason))) << parse.error.toStdString();
    }
}

TEST(PlanTest, OnlyARegularFileOfAtMost16MiBIsRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile big(dir.filePath("big.json"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(cli::MaxPlanFileBytes + 1));
    const std::pair<QString, const char*> cases[] = {
        {fifo, "not a regular file"}, {"/dev/zero", "not a regular file"}, {big.fileName(), "larger than 16 MiB"}};
    for (const auto& [path, reason] : cases) {
        const cli::PlanParse parse = cli::ReadPlanFile(path);
        EXPECT_FALSE(parse.plan.has_value());
        EXPECT_EQ(parse.error, path + QStringLiteral(": ") + QLatin1String(reason));
    }
}

struct JUnitCounts {
    QString tests, failures, skipped;
    QStringList failureMessages;
};

JUnitCounts ReadJUnit(const QString& path)
{
    QFile file(path);
    JUnitCounts counts;
    if (!file.open(QIODevice::ReadOnly))
        return counts;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("testsuite")) {
            counts.tests = xml.attributes().value("tests").toString();
            counts.failures = xml.attributes().value("failures").toString();
            counts.skipped = xml.attributes().value("skipped").toString();
        } else if (xml.name() == QLatin1String("failure")) {
            counts.failureMessages << xml.attributes().value("message").toString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return counts;
}

class PlanRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Start({"--name", "plan0", "--mode", "115200"})) << sim_.ErrorText().toStdString();
    }

    CliRun Run(const QByteArray& plan, const QStringList& options = {})
    {
        QFile file(dir_.filePath("plan.json"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(plan) == plan.size());
        file.close();
        return RunCliProgram(QStringList{"--port", "plan0", "--mode", "115200", "--timing", "fast", "run",
                                         file.fileName(), "--junit", JUnitPath()}
                             + options);
    }
    QString JUnitPath() const { return dir_.filePath("junit.xml"); }

    RuntimeDir runtime_;
    SimProcess sim_;
    QTemporaryDir dir_;
};

TEST_F(PlanRunTest, APassingPlanReportsEveryStepPassed)
{
    const CliRun run = Run(R"({"name": "smoke", "steps": [
        {"step": "info", "expect": {"networkType": "Virtual Fieldbus", "serialNumber": "123456",
                                    "firmwareVersion": "2.10"}},
        {"step": "write", "object": "01", "instance": 1, "attribute": 3, "data": "00 65"},
        {"step": "read", "name": "read back", "object": "01", "instance": 1, "attribute": 3, "expect": "00 65"},
        {"step": "exchange", "cycles": 2, "write": "AA BB",
         "expect": "02 AA BB 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11"}]})");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(),
              "PASS 1 info\nPASS 2 write 01 1 3\nPASS 3 read back\nPASS 4 exchange 2 cycles\n");
    const JUnitCounts junit = ReadJUnit(JUnitPath());
    EXPECT_EQ(junit.tests, "4");
    EXPECT_EQ(junit.failures, "0");
    EXPECT_EQ(junit.skipped, "0");
}

TEST_F(PlanRunTest, AFailedCheckStopsThePlanUnlessToldToKeepGoing)
{
    const QByteArray plan = R"({"steps": [
        {"step": "read", "object": "01", "instance": 1, "attribute": 3, "expect": "00 99"},
        {"step": "read", "object": "01", "instance": 2, "attribute": 1, "expect": "00 2A"},
        {"step": "read", "object": "7E", "instance": 1, "attribute": 1}]})";
    const CliRun stopped = Run(plan);
    EXPECT_EQ(stopped.exitCode, 1);
    EXPECT_EQ(stopped.out.toStdString(), "FAIL 1 read 01 1 3: data: expected \"00 99\", got \"00 64\"\n"
                                         "SKIP 2 read 01 2 1\nSKIP 3 read 7E 1 1\n");
    JUnitCounts junit = ReadJUnit(JUnitPath());
    EXPECT_EQ(junit.tests, "3");
    EXPECT_EQ(junit.failures, "1");
    EXPECT_EQ(junit.skipped, "2");
    EXPECT_EQ(junit.failureMessages, QStringList{"data: expected \"00 99\", got \"00 64\""});

    // Going on, the unknown object's error frame fails the third step too; the first failure sets the status.
    const CliRun keptGoing = Run(plan, {"--keep-going"});
    EXPECT_EQ(keptGoing.exitCode, 1);
    EXPECT_TRUE(keptGoing.out.contains("PASS 2 read 01 2 1\nFAIL 3 read 7E 1 1: the module refused"))
        << keptGoing.out.toStdString();
    junit = ReadJUnit(JUnitPath());
    EXPECT_EQ(junit.failures, "2");
    EXPECT_EQ(junit.skipped, "0");
}

TEST(PlanTest, AFailedConnectionIsReportedWithEveryStepSkipped)
{
    RuntimeDir runtime;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--name", "plan0", "--mode", "115200", "--error-answer", "online"}));
    QTemporaryDir dir;
    QFile plan(dir.filePath("plan.json"));
    ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
    plan.write(R"({"steps": [{"step": "info"}, {"step": "info"}]})");
    plan.close();
    const CliRun run = RunCliProgram({"--port", "plan0", "--mode", "115200", "--timing", "fast", "run",
                                      plan.fileName(), "--junit", dir.filePath("junit.xml")});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_EQ(run.out.toStdString(), "");
    const JUnitCounts junit = ReadJUnit(dir.filePath("junit.xml"));
    EXPECT_EQ(junit.tests, "3");
    EXPECT_EQ(junit.failures, "1");
    EXPECT_EQ(junit.skipped, "2");
}

TEST_F(PlanRunTest, AMalformedPlanEndsWithUsageStatusBeforeAnythingIsSent)
{
    const CliRun run = Run(R"({"steps": [{"step": "read", "object": "01"}]})");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("plan.json: step 1: a read or write step needs")) << run.err.toStdString();
    EXPECT_TRUE(sim_.LogLines().empty());
}

} // namespace
} // namespace trelmo

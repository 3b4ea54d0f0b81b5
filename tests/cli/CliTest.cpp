// trelmo-cli end to end against the virtual module: every command and every exit status, its escaped text output,
// the files it never writes over, the help of every command, and the frame trace read back by tshark with the
// project's dissector.

#include "CliRun.h"
#include "RuntimeDir.h"
#include "SimProcess.h"
#include "Tshark.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>

namespace trelmo {
namespace {

using testing::CliRun;
using testing::RunCliProgram;
using testing::RuntimeDir;
using testing::SimProcess;
using testing::TsharkAvailable;
using testing::TsharkFields;

const QString SimName = QStringLiteral("cli0");

// The options that reach the virtual module (registered as cli0) at 115200 bit/s.
QStringList Connected(const QStringList& command, const QString& timing = QStringLiteral("fast"))
{
    return QStringList{"--port", SimName, "--mode", "115200", "--timing", timing} + command;
}

TEST(CliTest, EachCommandAndExitStatusAgainstTheVirtualModule)
{
    struct Case {
        const char* title;
        QStringList scenario; // the virtual module's options beyond its name and mode
        QStringList arguments;
        int exitCode;
        const char* out; // a fragment of stdout; empty: stdout stays empty
        const char* err; // a fragment of stderr; empty: not checked
        std::function<void(QProcess&)> setUp = {};
    };
    QTemporaryDir dir;
    const QString plan = dir.filePath("plan.json"), trace = dir.filePath("trace"), hardLink = dir.filePath("link");
    for (const QString& path : {plan, trace}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)
                    && file.write(R"({"steps": [{"step": "info", "expect": {"networkType": "Net"}}]})") > 0);
    }
    ASSERT_EQ(::link(QFile::encodeName(plan).constData(), QFile::encodeName(hardLink).constData()), 0);
    // A window title, a cleared screen, a backslash and a C1 control (sent as UTF-8, read as Latin-1).
    const QStringList hostile = {"--network-type", "\x1B]0;owned\x07\x1B[2J", "--product-type", "a\\b\u009B"};
    QProcess head;
    const Case cases[] = {
        {"ports", {}, {"ports"}, 0, "virtual module cli0", ""},
        {"info, fixed timing", {}, Connected({"info"}, "fixed"), 0, "Serial Number: 123456\nProduction Date: 2023-6-15", ""},
        {"info as JSON", {}, Connected({"info", "--json"}), 0, "\"networkType\":\"Virtual Fieldbus\"", ""},
        {"info escaped", hostile, Connected({"info"}), 0,
         "Network Type: \\x1B]0;owned\\x07\\x1B[2J\nProduct Type: a\\\\b\u00C2\\x9B\n", ""},
        {"FAIL line escaped", hostile, Connected({"run", plan}), 1, "got \"\\x1B]0;owned\\x07\\x1B[2J\"\n", ""},
        {"stdout full", {}, Connected({"info"}), 6, "", "stdout: No space left on device",
         [](QProcess& cli) { cli.setStandardOutputFile(QStringLiteral("/dev/full")); }},
        {"stdout closed: the exchange ends", {}, Connected({"exchange", "--cycles", "1000"}), 6, "", "Broken pipe",
         [&head](QProcess& cli) {
             cli.setStandardOutputProcess(&head);
             head.start(QStringLiteral("head"), {"-c", "1"});
         }},
        {"read", {}, Connected({"read", "01", "1", "3"}), 0, "00 64\n", ""},
        {"write", {}, Connected({"write", "01", "1", "3", "00", "65"}), 0, "written: 00 65", ""},
        {"write beyond the probed size", {}, Connected({"write", "1", "1", "3", "006566"}), 1, "", "fewer bytes"},
        {"exchange", {}, Connected({"exchange", "--cycles", "3", "--write", "AA", "--write", "BB"}), 0,
         "cycle 2: 02 AA BB 05 06", ""},
        {"exchange: configuration request", {}, Connected({"exchange", "--cycles", "3"}), 0,
         "cycle 3: configuration data 10 20 30 40", ""},
        {"exchange: served object", {"--adi-every", "1", "--config-at", "0", "--adi-list", "2:7"},
         Connected({"exchange", "--cycles", "1", "--serve", "2:7=0A0B", "--json"}), 0,
         "{\"appDataObject\":\"2:7\",\"cycle\":1,\"served\":true}", ""},
        {"exchange: totals after the cycles", {"--bad-crc", "io"}, Connected({"exchange", "--cycles", "2"}), 4,
         "cycle 2: no answer\ntotals: cycles 2, answered 0, no answer 0, broken answers 2, error answers 0, bytes set "
         "aside 0\ncycle period: last ", "no answer"},
        {"exchange: totals as JSON", {}, Connected({"exchange", "--cycles", "2", "--json"}), 0,
         "\n{\"totals\":{\"answered\":2,\"brokenAnswers\":0,\"cycles\":2,\"errorAnswers\":0,\"noAnswer\":0,"
         "\"periodMs\":{\"last\":", ""},
        {"usage: missing argument", {}, Connected({"read", "01", "1"}), 2, "", "wrong number of arguments"},
        {"usage: reserved object", {}, Connected({"read", "F0", "1", "1"}), 2, "", "F0 and F1"},
        {"usage: a code with a line break", {}, Connected({"read", "01\n", "1", "3"}), 2, "", "hex digits"},
        {"usage: trace over the plan", {}, Connected({"--trace", plan, "run", plan}), 2, "", "name the same file"},
        {"usage: report over the trace", {}, Connected({"--trace", dir.filePath("x"), "run", plan, "--junit",
                                                         dir.filePath("./x")}), 2, "", "--trace and --junit"},
        {"usage: report over the plan", {}, Connected({"run", plan, "--junit", hardLink}), 2, "", "same file"},
        {"usage: bus address", {}, Connected({"--address", "127", "info"}), 2, "", "--address"},
        {"usage: unknown command", {}, {"frobnicate"}, 2, "", "unknown command"},
        {"usage: no port", {}, {"info"}, 2, "", "--port is required"},
        {"port cannot be opened", {}, {"--port", "/nonexistent/ttyX", "--trace", trace, "info"}, 3, "",
         "No such device."},
        {"silent module", {"--silent"}, Connected({"info"}, "fixed"), 4, "", "ERROR:02"},
        {"late answer", {"--late-kinds", "object"}, Connected({"read", "01", "1", "3"}), 4, "", "no answer"},
        {"hang-up in the exchange", {"--hangup-after", "3"}, Connected({"exchange", "--cycles", "3"}), 4,
         "cycle 1: 01", "lost in cycle 2"},
        {"bus address refused", {"--error-answer", "busaddress"}, Connected({"info"}), 5, "", "error frame"},
        {"module information refused", {"--error-answer", "info1"}, Connected({"info"}), 5, "", "error frame"},
        {"read refused", {"--error-answer", "object"}, Connected({"read", "01", "1", "3"}), 5, "", "error frame"},
        {"cycle refused", {"--error-answer", "io"}, Connected({"exchange", "--cycles", "1"}), 5,
         "cycle 1: error frame", "error frame"},
    };
    RuntimeDir runtime;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        SimProcess sim;
        ASSERT_TRUE(sim.Start(QStringList{"--name", SimName, "--mode", "115200"} + c.scenario)) << sim.ErrorText().toStdString();
        const CliRun run = RunCliProgram(c.arguments, c.setUp);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (*c.out)
            EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.out))) << run.out.toStdString();
        else
            EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_TRUE(run.err.contains(QLatin1String(c.err))) << run.err.toStdString();
    }
    QFile kept(trace);
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll().startsWith('{')) << "the port that did not open";
}

// A private folder that cannot be used: a module's name cannot be looked up (the port cannot be opened); the serial
// ports are still listed, with a warning.
TEST(CliTest, AnUnusablePrivateFolderIsNamed)
{
    RuntimeDir runtime;
    ASSERT_TRUE(QFile(runtime.FolderPath()).open(QIODevice::WriteOnly));
    const QString problem =
        "cannot use the private folder " + runtime.FolderPath() + ": it is not a folder, or it is a link\n";
    const CliRun connect = RunCliProgram(Connected({"info"}));
    EXPECT_EQ(connect.exitCode, 3);
    EXPECT_EQ(connect.err, "trelmo-cli: " + problem);
    const CliRun ports = RunCliProgram({"ports"});
    EXPECT_EQ(ports.exitCode, 0);
    EXPECT_EQ(ports.err, "trelmo-cli: no virtual modules listed: " + problem);
}

TEST(CliTest, EveryCommandHasItsHelp)
{
    for (const char* command : {"ports", "info", "read", "write", "exchange", "run"}) {
        SCOPED_TRACE(command);
        const CliRun run = RunCliProgram({command, "--help"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage:"))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("[options] ") + command)) << run.out.toStdString();
    }
}

TEST(CliTest, TheTraceHoldsEveryFrameUpToAFailureAndTsharkDecodesIt)
{
    if (!TsharkAvailable())
        GTEST_SKIP() << "tshark is not installed";
    RuntimeDir runtime;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--name", SimName, "--mode", "115200", "--error-answer", "object"}));
    QTemporaryDir dir;
    const QString trace = dir.filePath("trace.pcapng");
    const CliRun run = RunCliProgram(Connected({"--trace", trace, "read", "01", "1", "3"}));
    ASSERT_EQ(run.exitCode, 5) << run.err.toStdString();

    const QStringList lines = TsharkFields(trace, {"frame.packet_flags_direction", "trelmo.sequence",
                                                   "trelmo.frame_type", "trelmo.object", "trelmo.crc.good"});
    const QStringList expected = {
        "0x00000002|1|1|0x03|1", "0x00000001|1|2|0x03|1", // bus address
        "0x00000002|2|1|0x00|1", "0x00000001|2|2|0x00|1", // on line
        "0x00000002|3|1|0x01|1", "0x00000001|3|3|0x01|1", // the read, refused
    };
    EXPECT_EQ(lines.join('\n').toStdString(), expected.join('\n').toStdString());
}

} // namespace
} // namespace trelmo

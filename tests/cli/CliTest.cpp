// trelmo-cli end to end against the virtual module: every command and every exit status, the help of every
// command, and the frame trace read back by tshark with the project's dissector.

#include "CliRun.h"
#include "RuntimeDir.h"
#include "SimProcess.h"
#include "Tshark.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    };
    const Case cases[] = {
        {"ports", {}, {"ports"}, 0, "virtual module cli0", ""},
        {"info, fixed timing", {}, Connected({"info"}, "fixed"), 0, "Serial Number: 123456\nProduction Date: 2023-6-15", ""},
        {"info as JSON", {}, Connected({"info", "--json"}), 0, "\"networkType\":\"Virtual Fieldbus\"", ""},
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
        {"usage: missing argument", {}, Connected({"read", "01", "1"}), 2, "", "wrong number of arguments"},
        {"usage: reserved object", {}, Connected({"read", "F0", "1", "1"}), 2, "", "F0 and F1"},
        {"usage: bus address", {}, Connected({"--address", "127", "info"}), 2, "", "--address"},
        {"usage: unknown command", {}, {"frobnicate"}, 2, "", "unknown command"},
        {"usage: no port", {}, {"info"}, 2, "", "--port is required"},
        {"port cannot be opened", {}, {"--port", "/nonexistent/ttyX", "info"}, 3, "", "No such device."},
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
        const CliRun run = RunCliProgram(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        if (*c.out)
            EXPECT_TRUE(run.out.contains(QLatin1String(c.out))) << run.out.toStdString();
        else
            EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_TRUE(run.err.contains(QLatin1String(c.err))) << run.err.toStdString();
    }
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

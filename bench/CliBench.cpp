// trelmo-cli's fixed and fast receive timings against the virtual module at 115200 bit/s: a test plan of the
// module information and ten attribute reads (which connects first: bus address and on-line request), run
// in-process, each timing a number of times; the medians, their ratio, and the time the same frames take on a
// 115200 bit/s line (10 bits per byte) for comparison. Run by hand (scripts/bench.sh):
//
//   trelmo-cli-bench [runs] [path of trelmo-sim] [answer delay ms] [wire]
//
// Defaults: 20 runs, trelmo-sim beside this program, no answer delay. The pseudo-terminal carries bytes at memory
// speed, whatever the line speed set; an answer delay (the module's --delay-ms) stands in for a module's own
// reaction time. With "wire" the module behaves as a UART at 115200 bit/s (--wire): its bytes take their wire time,
// and it takes up a request only once the request's own wire time has passed, so both frames' wire time is in.

#include "Cli.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double LineBitsPerSecond = 115200;
constexpr double BitsPerByte = 10; // start bit, 8 data bits, stop bit

const char Plan[] = R"({"name": "bench", "steps": [
    {"step": "info"},
    {"step": "read", "object": "01", "instance": 1, "attribute": 1},
    {"step": "read", "object": "01", "instance": 1, "attribute": 2},
    {"step": "read", "object": "01", "instance": 1, "attribute": 3},
    {"step": "read", "object": "01", "instance": 1, "attribute": 4},
    {"step": "read", "object": "01", "instance": 1, "attribute": 5},
    {"step": "read", "object": "01", "instance": 2, "attribute": 1},
    {"step": "read", "object": "01", "instance": 1, "attribute": 1},
    {"step": "read", "object": "01", "instance": 1, "attribute": 2},
    {"step": "read", "object": "01", "instance": 1, "attribute": 3},
    {"step": "read", "object": "01", "instance": 1, "attribute": 4}]})";

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

struct Traffic {
    qint64 bytes = 0;   // both directions
    qint64 answers = 0; // one per request: the host writes each request whole
};

// What crossed the line so far, from the module's traffic log: "1 ..." lines are chunks from the host, "0 ..."
// lines the module's writes (a paced answer in several), each a run of hex pairs.
Traffic LoggedTraffic(const QString& logPath)
{
    QFile log(logPath);
    Traffic traffic;
    if (!log.open(QIODevice::ReadOnly))
        return traffic;
    while (!log.atEnd()) {
        const QByteArray line = log.readLine().trimmed();
        traffic.bytes += line.size() / 3;
        traffic.answers += line.startsWith('1') ? 1 : 0;
    }
    return traffic;
}

// Runs the plan `runs` times with the given timing; the wall time of each run in seconds, empty on a failure.
std::vector<double> TimeRuns(const QString& device, const QString& planPath, const char* timing, int runs)
{
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        QByteArray outText, errText;
        QTextStream out(&outText), err(&errText);
        trelmo::cli::Output output{out, err};
        QElapsedTimer clock;
        clock.start();
        const int status = trelmo::cli::RunCli({"trelmo-cli", "--port", device, "--mode", "115200", "--timing",
                                                timing, "run", planPath},
                                               output);
        const double elapsed = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        if (status != 0) {
            err.flush();
            std::fprintf(stderr, "run %d (%s) failed with %d: %s\n", run + 1, timing, status, errText.constData());
            return {};
        }
        seconds.push_back(elapsed);
    }
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;
    const QString simulator = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                       : QDir(QCoreApplication::applicationDirPath()).filePath("trelmo-sim");
    if (!QFileInfo(simulator).isExecutable()) {
        std::fprintf(stderr, "no virtual module at %s\n", qPrintable(simulator));
        return 1;
    }
    const int answerDelayMs = argc > 3 ? std::max(0, QString::fromLocal8Bit(argv[3]).toInt()) : 0;
    const bool paced = argc > 4 && QString::fromLocal8Bit(argv[4]) == QLatin1String("wire");
    QTemporaryDir work;
    const QString logPath = work.filePath("traffic.log");
    const QString planPath = work.filePath("plan.json");
    QFile plan(planPath);
    if (!plan.open(QIODevice::WriteOnly) || plan.write(Plan) < 0)
        return 1;
    plan.close();

    QProcess module;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", work.path()); // its registry link stays in the scratch directory
    module.setProcessEnvironment(environment);
    QStringList arguments{"--mode", "115200", "--name", "bench", "--log", logPath, "--delay-ms",
                          QString::number(answerDelayMs), "--exit-with-parent"};
    if (paced)
        arguments << "--wire";
    module.start(simulator, arguments);
    if (!module.waitForStarted(5000) || !module.waitForReadyRead(5000)) {
        std::fprintf(stderr, "the virtual module did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(module.readLine()).trimmed();

    const std::vector<double> fixed = TimeRuns(device, planPath, "fixed", runs);
    const Traffic traffic = LoggedTraffic(logPath);
    const std::vector<double> fast = TimeRuns(device, planPath, "fast", runs);
    module.terminate();
    module.waitForFinished(5000);
    if (fixed.empty() || fast.empty())
        return 1;

    const double fixedMedian = Median(fixed);
    const double fastMedian = Median(fast);
    const qint64 bytesPerRun = traffic.bytes / runs;
    const qint64 answersPerRun = traffic.answers / runs;
    const double lineSeconds = static_cast<double>(bytesPerRun) * BitsPerByte / LineBitsPerSecond;
    const double delaySeconds = static_cast<double>(answersPerRun * answerDelayMs) * 1e-3;
    std::printf("info + 10 reads (connecting first), %d runs each, trelmo-sim at 115200 bit/s%s, answer delay %d ms\n",
                runs, paced ? " on a paced line" : "", answerDelayMs);
    std::printf("  fixed timing, median:  %8.1f ms\n", fixedMedian * 1e3);
    std::printf("  fast timing, median:   %8.1f ms\n", fastMedian * 1e3);
    std::printf("  ratio fixed / fast:    %8.1f x  (target >= 10)\n", fixedMedian / fastMedian);
    std::printf("  line time of the %lld bytes at 115200 bit/s: %.1f ms, plus %lld answers x %d ms delay: %.1f ms\n",
                static_cast<long long>(bytesPerRun), lineSeconds * 1e3, static_cast<long long>(answersPerRun),
                answerDelayMs, (lineSeconds + delaySeconds) * 1e3);
    std::printf("  fast / (line time + delays): %.2f  (target <= 2; <= 1.25 on a paced line)\n", fastMedian / (lineSeconds + delaySeconds));
    return 0;
}

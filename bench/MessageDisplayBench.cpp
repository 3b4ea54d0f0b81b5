// A Message Display window holding a day's traffic (1,000,000 lines): the cost of the slowest of the 100 ms ticks
// that each bring 10,000 new lines, showing display lines and showing the decoded table, the resident memory per
// shown line in either view, the time to switch views, and the time to save all lines as text or as a capture.

#include "MessageBoxes.h"
#include "MessageDisplayDialog.h"
#include "MessageLog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

using namespace trelmo;

constexpr std::size_t kLinesHeld = 1000000;
constexpr std::size_t kLinesPerTick = 10000;

// Frames of 6 to 37 bytes in turn, sent and received, as a cyclic exchange with a few objects produces them.
std::string LogLine(std::size_t serial)
{
    static const char* const digits = "0123456789ABCDEF";
    const std::size_t bytes = 6 + serial % 32;
    std::string line(1, serial % 2 == 0 ? '1' : '0');
    for (std::size_t i = 0; i < bytes; ++i) {
        const unsigned value = static_cast<unsigned>((serial + i * 7) & 0xFF);
        line += digits[value >> 4];
        line += digits[value & 0xF];
        line += ' ';
    }
    return line;
}

void LogLines(MessageLog& log, std::size_t count, std::size_t& serial)
{
    for (std::size_t i = 0; i < count; ++i)
        log.Append(LogLine(serial++));
}

std::size_t ResidentBytes()
{
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// One shown window filled with a day's traffic, built once and shared by the benchmarks.
struct FullDisplay {
    MessageLog log;
    std::unique_ptr<CMessageDisplayDialog> window;
    std::size_t serial = 0;
    std::size_t residentBefore = 0;
    double residentPerLine = 0;
    double textPerLine = 0;

    FullDisplay()
    {
        window = std::make_unique<CMessageDisplayDialog>(log);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        QCoreApplication::processEvents();
        malloc_trim(0);
        residentBefore = ResidentBytes();
        while (window->DisplayedLineCount() < kLinesHeld) {
            LogLines(log, kLinesPerTick, serial);
            window->RefreshFromLog();
        }
        QCoreApplication::processEvents();
        malloc_trim(0);
        const std::size_t after = ResidentBytes();
        const std::vector<std::string> lines = window->DisplayedLines();
        std::size_t text = 0;
        for (const std::string& line : lines)
            text += line.size();
        residentPerLine = static_cast<double>(after - residentBefore) / static_cast<double>(lines.size());
        textPerLine = static_cast<double>(text) / static_cast<double>(lines.size());
    }
};

// Made on first use, destroyed in main() while the application object still exists.
std::unique_ptr<FullDisplay>& DisplayHolder()
{
    static std::unique_ptr<FullDisplay> display;
    return display;
}

FullDisplay& Display()
{
    if (!DisplayHolder())
        DisplayHolder() = std::make_unique<FullDisplay>();
    return *DisplayHolder();
}

void BM_MemoryPerLine(benchmark::State& state)
{
    FullDisplay& display = Display();
    for (auto _ : state)
        benchmark::DoNotOptimize(display.window->DisplayedLineCount());
    state.counters["resident_bytes_per_line"] = display.residentPerLine;
    state.counters["text_bytes_per_line"] = display.textPerLine;
    state.counters["target_bytes_per_line"] = 2 * display.textPerLine + 64;
}
BENCHMARK(BM_MemoryPerLine)->Iterations(1)->Unit(benchmark::kMillisecond);

// Switching the full window to the decoded table and back; then the resident memory per line with the table shown.
void BM_SwitchView(benchmark::State& state)
{
    FullDisplay& display = Display();
    double slowest = 0;
    for (auto _ : state) {
        for (const bool decoded : {true, false}) {
            QElapsedTimer switching;
            switching.start();
            display.window->ShowDecoded(decoded);
            QCoreApplication::processEvents();
            slowest = std::max(slowest, static_cast<double>(switching.nsecsElapsed()) / 1e6);
        }
    }
    display.window->ShowDecoded(true);
    QCoreApplication::processEvents();
    malloc_trim(0);
    state.counters["resident_bytes_per_line_decoded"] = static_cast<double>(ResidentBytes() - display.residentBefore)
        / static_cast<double>(display.window->DisplayedLineCount());
    display.window->ShowDecoded(false);
    state.counters["slowest_switch_ms"] = slowest;
}
BENCHMARK(BM_SwitchView)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Saving every line, as text (argument 0) or as a capture (1).
void BM_SaveDisplayedLines(benchmark::State& state)
{
    FullDisplay& display = Display();
    const bool capture = state.range(0) == 1;
    const QString path = QDir::temp().filePath(capture ? QStringLiteral("trelmo-bench-log.pcapng")
                                                       : QStringLiteral("trelmo-bench-log.txt"));
    display.window->SetFileChooser(
        [path, capture](QWidget*) { return SaveChoice(path, capture ? SaveFormat::Capture : SaveFormat::Text); });
    QString message;
    const MessageBoxHook previous = SetMessageBoxHook([&](MessageBoxKind, const QString& text) { message = text; });
    for (auto _ : state)
        display.window->SaveDisplayedLines();
    SetMessageBoxHook(previous);
    state.counters["lines_saved"] = static_cast<double>(display.window->DisplayedLineCount());
    state.counters["file_mib"] = static_cast<double>(QFile(path).size()) / (1024.0 * 1024.0);
    if (message != QStringLiteral("Successfully saved"))
        state.SkipWithError("the save failed");
    QFile::remove(path);
}
BENCHMARK(BM_SaveDisplayedLines)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// One tick as the window's timer runs it, plus the layout and painting that it causes, showing display lines
// (argument 0) or the decoded table (1).
void BM_DrainTick(benchmark::State& state)
{
    FullDisplay& display = Display();
    display.window->ShowDecoded(state.range(0) == 1);
    QCoreApplication::processEvents();
    double slowest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LogLines(display.log, kLinesPerTick, display.serial);
        state.ResumeTiming();
        QElapsedTimer tick;
        tick.start();
        display.window->RefreshFromLog();
        QCoreApplication::processEvents();
        slowest = std::max(slowest, static_cast<double>(tick.nsecsElapsed()) / 1e6);
    }
    state.counters["lines_shown"] = static_cast<double>(display.window->DisplayedLineCount());
    state.counters["slowest_tick_ms"] = slowest;
    display.window->ShowDecoded(false);
}
BENCHMARK(BM_DrainTick)->Arg(0)->Arg(1)->Iterations(30)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DisplayHolder().reset();
    return 0;
}

#pragma once
// What the window benchmarks share: clocks, percentiles, the virtual module started beside the benchmark, and the
// main window configured through its configuration dialog and connected to the module at 115200 bit/s through its
// own Connect button and port dialog.

#include "LineSettings.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <ctime>
#include <functional>
#include <vector>

namespace trelmo {

class CMainDialog;

constexpr int BenchLineSpeed = 115200;

// Seconds on the given clock (CLOCK_MONOTONIC, CLOCK_THREAD_CPUTIME_ID, ...).
double Seconds(clockid_t clock);
// User and system CPU time of the whole process.
double ProcessCpuSeconds();
double Percentile(std::vector<double> values, double fraction);

// The virtual module: argv[index] when given, else trelmo-sim beside this program; empty when not executable.
QString SimulatorPath(int argc, char** argv, int index);
// The offscreen platform unless the environment names one; before the QApplication is made.
void PreferOffscreenPlatform();
// "[cycles] [path of trelmo-sim]" (100 cycles by default, at least minimumCycles); false, with the reason on
// stderr, when no virtual module is found.
bool ReadCycleArguments(int argc, char** argv, int minimumCycles, int& cycles, QString& simulator);
// Starts the module in the mode (115200 bit/s or detecting the rate) with the extra options; its device path, empty
// when it did not start.
QString StartModule(QProcess& module, const QString& program, const QStringList& options,
                    OperatingMode mode = OperatingMode::Uart115200);
// Chooses the mode (the detecting one at 115200 bit/s) and bus address 1 in the configuration dialog, as a user
// would through the Operating Mode button; true when the window took them.
bool Configure(CMainDialog& window, OperatingMode mode = OperatingMode::Uart115200);
// Clicks Connect, answers the port dialog with the device and runs the event loop until the window's connection
// attempt has ended; true when connected. whileConnecting runs once the window shows "Connecting...".
bool ClickConnect(CMainDialog& window, const QString& device, const std::function<void()>& whileConnecting = {});
// Starts the module in the mode (115200 bit/s unless told) with the extra options, shows the window and connects it
// to the module. 0 when connected, else the benchmark's exit status, with the reason on stderr.
int StartAndConnect(QProcess& module, const QString& program, const QStringList& options, CMainDialog& window,
                    OperatingMode mode = OperatingMode::Uart115200);
// Disconnects the window (its Disconnect button when connected), waits until the link has closed the port, then
// ends the module.
void DisconnectAndStopModule(CMainDialog& window, QProcess& module);
// Message boxes are written to stderr instead of being shown: offscreen nobody would click them away.
void PrintMessagesOnStderr();

} // namespace trelmo

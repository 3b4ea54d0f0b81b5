#include "BenchWindow.h"

#include "ConfigurationDialog.h"
#include "LinkAwait.h"
#include "MainDialog.h"
#include "MessageBoxes.h"
#include "PortSelectionDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace trelmo {

double Seconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

QString SimulatorPath(int argc, char** argv, int index)
{
    const QString path = argc > index ? QString::fromLocal8Bit(argv[index])
                                      : QDir(QCoreApplication::applicationDirPath()).filePath("trelmo-sim");
    return QFileInfo(path).isExecutable() ? path : QString();
}

void PreferOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool ReadCycleArguments(int argc, char** argv, int minimumCycles, int& cycles, QString& simulator)
{
    cycles = argc > 1 ? std::max(minimumCycles, std::atoi(argv[1])) : 100;
    simulator = SimulatorPath(argc, argv, 2);
    if (simulator.isEmpty())
        std::fprintf(stderr, "no virtual module\n");
    return !simulator.isEmpty();
}

QString StartModule(QProcess& module, const QString& program, const QStringList& options, OperatingMode mode)
{
    const QString modeOption = mode == OperatingMode::AutoBaud ? QStringLiteral("auto")
                                                               : QString::number(FixedBaudRate(mode));
    module.start(program, QStringList{"--mode", modeOption, "--exit-with-parent"} + options);
    if (!module.waitForStarted(5000))
        return {};
    while (!module.canReadLine()) {
        if (!module.waitForReadyRead(5000))
            return {};
    }
    return QString::fromLocal8Bit(module.readLine()).trimmed();
}

namespace {

constexpr int ModalPollMs = 5;
constexpr int BenchBusAddress = 1;

// Polls every few milliseconds while the caller's click runs a modal dialog's event loop; the step returns false
// once it is done.
template <typename Step>
void PollWhileModal(QObject* owner, Step step)
{
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step]() mutable {
        if (step())
            return;
        poll->stop();
        poll->deleteLater();
    });
    poll->start(ModalPollMs);
}

} // namespace

bool Configure(CMainDialog& window, OperatingMode mode)
{
    PollWhileModal(&window, [mode] {
        auto* dialog = qobject_cast<CConfigurationDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return true;
        dialog->ModeList()->setCurrentIndex(static_cast<int>(mode)); // the list holds the modes in this order
        // The port opens at the listed rate: the detecting mode's, or the fixed mode's own.
        const int rate = mode == OperatingMode::AutoBaud ? BenchLineSpeed : FixedBaudRate(mode);
        dialog->BaudList()->setCurrentIndex(dialog->BaudList()->findText(QString::number(rate)));
        dialog->BusAddressEdit()->setText(QString::number(BenchBusAddress));
        dialog->accept();
        if (dialog->isVisible())
            dialog->reject();
        return false;
    });
    window.Button(MainControl::OperatingMode)->click();
    const LineSettings& settings = window.Settings();
    return settings.OperatingMode == mode && settings.BusAddress == BenchBusAddress
        && settings.BaudRate == (mode == OperatingMode::AutoBaud ? BenchLineSpeed : FixedBaudRate(mode));
}

bool ClickConnect(CMainDialog& window, const QString& device, const std::function<void()>& whileConnecting)
{
    // OK has the link open the port; the dialog closes once it is open and stays open when it did not open.
    PollWhileModal(&window, [device, accepted = false]() mutable {
        auto* dialog = qobject_cast<CPortSelectionDialog*>(QApplication::activeModalWidget());
        if (!accepted) {
            if (dialog) {
                dialog->PortList()->setEditText(device);
                dialog->accept();
                accepted = true;
            }
            return true;
        }
        if (dialog && dialog->IsOpening())
            return true;
        if (dialog)
            dialog->reject();
        return false;
    });
    window.Button(MainControl::Connect)->click();
    if (window.IsConnecting()) {
        if (whileConnecting)
            whileConnecting();
        // The window hears the link's signals before this loop does, so its state is up to date here.
        QEventLoop loop;
        const auto quitWhenEnded = [&window, &loop] {
            if (!window.IsConnecting())
                loop.quit();
        };
        QObject::connect(&window.Link(), &LinkController::ConnectionFinished, &loop, quitWhenEnded);
        QObject::connect(&window.Link(), &LinkController::CycleFinished, &loop, quitWhenEnded);
        loop.exec();
    }
    return window.IsConnected();
}

int StartAndConnect(QProcess& module, const QString& program, const QStringList& options, CMainDialog& window,
                    OperatingMode mode)
{
    const QString device = StartModule(module, program, options, mode);
    if (device.isEmpty()) {
        std::fprintf(stderr, "the virtual module did not start\n");
        return 2;
    }
    window.show();
    if (!Configure(window, mode)) {
        std::fprintf(stderr, "the configuration dialog did not take the line settings\n");
        return 1;
    }
    if (!ClickConnect(window, device)) {
        std::fprintf(stderr, "could not connect to %s\n", qPrintable(device));
        return 1;
    }
    return 0;
}

void DisconnectAndStopModule(CMainDialog& window, QProcess& module)
{
    AwaitLink(window.Link(), &LinkController::Disconnected, [&window] {
        if (window.IsConnected())
            window.Button(MainControl::Disconnect)->click();
        else
            window.Link().Disconnect();
    });
    module.terminate();
    module.waitForFinished(3000);
}

void PrintMessagesOnStderr()
{
    SetMessageBoxHook([](MessageBoxKind, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    });
}

} // namespace trelmo

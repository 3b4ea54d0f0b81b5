#include "BenchWindow.h"

#include "MainDialog.h"
#include "PortSelectionDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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

bool ClickConnect(CMainDialog& window, const QString& device, OperatingMode mode)
{
    LineSettings& settings = window.Session().Settings();
    settings.OperatingMode = mode;
    settings.BaudRate = BenchLineSpeed;
    settings.BusAddress = 1;
    window.Button(MainControl::Connect)->setEnabled(true);
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, device] {
        if (auto* dialog = qobject_cast<CPortSelectionDialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            dialog->PortList()->setEditText(device);
            dialog->accept();
            if (dialog->isVisible())
                dialog->reject();
        }
    });
    poll->start(5);
    window.Button(MainControl::Connect)->click();
    return window.Button(MainControl::Disconnect)->isVisible();
}

int StartAndConnect(QProcess& module, const QString& program, const QStringList& options, CMainDialog& window)
{
    const QString device = StartModule(module, program, options);
    if (device.isEmpty()) {
        std::fprintf(stderr, "the virtual module did not start\n");
        return 2;
    }
    window.show();
    if (!ClickConnect(window, device)) {
        std::fprintf(stderr, "could not connect to %s\n", qPrintable(device));
        return 1;
    }
    return 0;
}

} // namespace trelmo

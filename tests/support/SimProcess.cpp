#include "SimProcess.h"

#include "RuntimeDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>

namespace trelmo::testing {
namespace {

const char RuntimeVariable[] = "XDG_RUNTIME_DIR";

} // namespace

SimProcess::SimProcess()
{
    process_.setReadChannel(QProcess::StandardOutput);
}

SimProcess::~SimProcess()
{
    Stop();
}

QString SimProcess::Executable()
{
    const QString configured = qEnvironmentVariable("TRELMO_SIM");
    if (!configured.isEmpty())
        return configured;
    // Test executables are built beside the module.
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("trelmo-sim"));
    return QCoreApplication::instance() && QFileInfo::exists(beside) ? beside : QString();
}

QString SimProcess::LogPath() const
{
    return QDir(workDir_.path()).filePath(QStringLiteral("traffic.log"));
}

bool SimProcess::Start(const QStringList& arguments, int timeoutMs)
{
    Stop();
    devicePath_.clear();
    error_.clear();
    const QString program = Executable();
    if (program.isEmpty()) {
        error_ = QStringLiteral("TRELMO_SIM is not set and no trelmo-sim is beside the test");
        return false;
    }
    QFile::remove(LogPath());

    // The active shared runtime directory, or a private one inside this helper's work directory.
    const RuntimeDir* shared = RuntimeDir::Active();
    const QString runtimeDir = shared ? shared->Path() : QDir(workDir_.path()).filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtimeDir);
    // The module takes $XDG_RUNTIME_DIR only where no one else can write to it.
    QFile::setPermissions(runtimeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(RuntimeVariable), runtimeDir);
    process_.setProcessEnvironment(environment);
    process_.setStandardErrorFile(ErrorPath());

    process_.start(program, QStringList{QStringLiteral("--log"), LogPath(), QStringLiteral("--exit-with-parent")}
                                + arguments);
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = QStringLiteral("cannot start %1: %2").arg(program, process_.errorString());
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!process_.canReadLine()) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || !process_.waitForReadyRead(left)) {
            error_ = QStringLiteral("no device path from the module: %1").arg(StandardError());
            Stop();
            return false;
        }
    }
    devicePath_ = QString::fromLocal8Bit(process_.readLine()).trimmed().toStdString();
    return !devicePath_.empty();
}

int SimProcess::Stop()
{
    if (process_.state() == QProcess::NotRunning)
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

bool SimProcess::IsRunning() const
{
    return process_.state() != QProcess::NotRunning;
}

std::vector<std::string> SimProcess::LogLines() const
{
    std::vector<std::string> lines;
    QFile file(LogPath());
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    // The part after the last line end is a line still being written.
    const QList<QByteArray> parts = file.readAll().split('\n');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i)
        lines.push_back(parts[i].toStdString());
    return lines;
}

bool SimProcess::WaitForLogLines(std::size_t count, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (LogLines().size() >= count)
            return true;
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(5);
    }
}

bool SimProcess::WaitForExit(int timeoutMs)
{
    return process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
}

QString SimProcess::StandardError() const
{
    QFile file(ErrorPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

QString SimProcess::ErrorPath() const
{
    return QDir(workDir_.path()).filePath(QStringLiteral("stderr.txt"));
}

} // namespace trelmo::testing

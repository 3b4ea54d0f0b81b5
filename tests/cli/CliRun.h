#pragma once
// Runs the trelmo-cli program built beside the tests and collects what it printed.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>

namespace trelmo::testing {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// setUp may redirect the program's stdout (to a file, into another process) before it starts.
inline CliRun RunCliProgram(const QStringList& arguments, const std::function<void(QProcess&)>& setUp = {})
{
    QProcess process;
    if (setUp)
        setUp(process);
    process.start(QStringLiteral(TRELMO_CLI), arguments);
    CliRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("trelmo-cli did not end");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace trelmo::testing

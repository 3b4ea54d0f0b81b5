// trelmo-cli: scripted module tests from the command line (see Cli.h).

#include "Cli.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    // A closed pipe on stdout becomes a failed write, reported with its exit status, instead of a silent kill.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trelmo-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRELMO_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    trelmo::cli::Output output{out, err};
    const int status = trelmo::cli::RunCli(QCoreApplication::arguments(), output);
    out.flush();
    err.flush();
    return status;
}

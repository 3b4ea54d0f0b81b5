#include "Tshark.h"

#include <QProcess>

namespace trelmo::testing {

bool TsharkAvailable()
{
    QProcess probe;
    probe.start(QStringLiteral("tshark"), {QStringLiteral("-v")});
    return probe.waitForFinished(60000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

QStringList TsharkFields(const QString& capture, const QStringList& fields)
{
    // The capture comes on standard input, so that a tshark run as another user (the package test run by root)
    // reads it too.
    QStringList arguments{"-r", "-", "-T", "fields", "-E", "separator=|"};
    // A tshark told where its global plugins are (the package test points it at the unpacked package) loads the
    // dissector from there as an installed one; otherwise it is given the one in the source tree.
    if (!qEnvironmentVariableIsSet("WIRESHARK_PLUGIN_DIR"))
        arguments << "-X" << QStringLiteral("lua_script:") + TRELMO_DISSECTOR;
    for (const QString& field : fields)
        arguments << "-e" << field;
    QProcess tshark;
    tshark.setStandardInputFile(capture);
    tshark.start(QStringLiteral("tshark"), arguments);
    if (!tshark.waitForFinished(60000) || tshark.exitCode() != 0)
        return {QStringLiteral("tshark failed: ") + QString::fromLocal8Bit(tshark.readAllStandardError())};
    return QString::fromUtf8(tshark.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

} // namespace trelmo::testing

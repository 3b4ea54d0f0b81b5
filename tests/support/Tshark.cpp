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
    QStringList arguments{"-r", capture, "-X", QStringLiteral("lua_script:") + TRELMO_DISSECTOR, "-T", "fields",
                          "-E", "separator=|"};
    for (const QString& field : fields)
        arguments << "-e" << field;
    QProcess tshark;
    tshark.start(QStringLiteral("tshark"), arguments);
    if (!tshark.waitForFinished(60000) || tshark.exitCode() != 0)
        return {QStringLiteral("tshark failed: ") + QString::fromLocal8Bit(tshark.readAllStandardError())};
    return QString::fromUtf8(tshark.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

} // namespace trelmo::testing

#include "PortRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace trelmo {

QString UserRuntimeDirectory()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime;
}

QString PortRegistryDirectory()
{
    return QDir(UserRuntimeDirectory()).filePath(QStringLiteral("trelmo-ports"));
}

std::vector<RegisteredModule> RegisteredVirtualModules()
{
    std::vector<RegisteredModule> modules;
    const QDir dir(PortRegistryDirectory());
    const QFileInfoList links = dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        if (!link.isSymLink())
            continue;
        const QString target = link.symLinkTarget();
        if (!target.isEmpty() && QFileInfo::exists(target))
            modules.push_back({link.fileName(), target});
    }
    return modules;
}

QStringList RegisteredVirtualPorts()
{
    QStringList ports;
    for (const RegisteredModule& module : RegisteredVirtualModules())
        ports << module.device;
    return ports;
}

} // namespace trelmo

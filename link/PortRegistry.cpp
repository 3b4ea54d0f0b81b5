#include "PortRegistry.h"

#include "RuntimeFolder.h"

#include <QDir>
#include <QFileInfo>

namespace trelmo {
namespace {

constexpr int AnnouncedByte = 1;

QString ModuleLockPath(const QString& registry, const QString& name)
{
    return QDir(registry).filePath(QStringLiteral(".%1.lock").arg(name));
}

} // namespace

QString PortRegistryDirectory()
{
    const RuntimeFolder folder = UserRuntimeFolder();
    return folder.IsUsable() ? folder.FilePath(QStringLiteral("ports")) : QString();
}

FileLock::Outcome ModuleNameClaim::Claim(const QString& registry, const QString& name)
{
    lockPath_ = ModuleLockPath(registry, name);
    return lock_.Acquire(lockPath_);
}

bool ModuleNameClaim::Announce()
{
    return lock_.LockByte(AnnouncedByte);
}

std::vector<RegisteredModule> RegisteredVirtualModules()
{
    std::vector<RegisteredModule> modules;
    const QString registry = PortRegistryDirectory();
    if (registry.isEmpty())
        return modules;
    // Without QDir::Hidden: the lock files and the links being replaced (.<name>.<pid>) start with a dot.
    const QFileInfoList links =
        QDir(registry).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        if (!link.isSymLink() || !IsFileLockHeld(ModuleLockPath(registry, link.fileName()), AnnouncedByte))
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

PortChoice RememberPortChoice(const QString& chosen, const QString& byIdFolder)
{
    for (const RegisteredModule& module : RegisteredVirtualModules()) {
        if (module.name == chosen || module.device == chosen)
            return {PortChoice::Kind::VirtualModule, module.name};
    }
    const QString path = chosen.contains(QLatin1Char('/')) ? chosen : QStringLiteral("/dev/") + chosen;
    const QString device = QFileInfo(path).canonicalFilePath();
    if (!device.isEmpty() && !path.startsWith(byIdFolder + QLatin1Char('/'))) {
        for (const QFileInfo& link : QDir(byIdFolder).entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
            if (link.canonicalFilePath() == device)
                return {PortChoice::Kind::Path, link.filePath()};
        }
    }
    return {PortChoice::Kind::Path, chosen};
}

QString LocatePort(const PortChoice& choice)
{
    if (choice.kind == PortChoice::Kind::Path)
        return choice.value;
    for (const RegisteredModule& module : RegisteredVirtualModules()) {
        if (module.name == choice.value)
            return module.device;
    }
    return QString();
}

} // namespace trelmo

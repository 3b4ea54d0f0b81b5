#include "RuntimeDir.h"

#include <QDir>
#include <QFile>

namespace trelmo::testing {
namespace {

const char RuntimeVariable[] = "XDG_RUNTIME_DIR";
const RuntimeDir* activeRuntimeDir = nullptr;

} // namespace

RuntimeDir::RuntimeDir()
    : previousValue_(qgetenv(RuntimeVariable)), hadPrevious_(qEnvironmentVariableIsSet(RuntimeVariable)),
      previousActive_(activeRuntimeDir)
{
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv(RuntimeVariable, QFile::encodeName(dir_.path()));
    activeRuntimeDir = this;
}

RuntimeDir::~RuntimeDir()
{
    if (hadPrevious_)
        qputenv(RuntimeVariable, previousValue_);
    else
        qunsetenv(RuntimeVariable);
    activeRuntimeDir = previousActive_;
}

QString RuntimeDir::FolderPath() const
{
    return QDir(dir_.path()).filePath(QStringLiteral("trelmo"));
}

QString RuntimeDir::RegistryPath() const
{
    return QDir(FolderPath()).filePath(QStringLiteral("ports"));
}

QString RuntimeDir::LinkPath(const QString& name) const
{
    return QDir(RegistryPath()).filePath(name);
}

const RuntimeDir* RuntimeDir::Active()
{
    return activeRuntimeDir;
}

} // namespace trelmo::testing

#pragma once
// A temporary runtime directory set as XDG_RUNTIME_DIR of the test process while it lives (the previous value comes
// back at its end), so that virtual modules, the port registry and the single-instance lock never touch a
// developer's own runtime directory. Modules started meanwhile share it, and the test's own RegisteredVirtualPorts()
// reads it.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace trelmo::testing {

class RuntimeDir {
public:
    RuntimeDir();
    ~RuntimeDir();
    RuntimeDir(const RuntimeDir&) = delete;
    RuntimeDir& operator=(const RuntimeDir&) = delete;

    QString Path() const { return dir_.path(); }
    // <dir>/trelmo, the programs' private folder
    QString FolderPath() const;
    // <dir>/trelmo/ports
    QString RegistryPath() const;
    // <dir>/trelmo/ports/<name>
    QString LinkPath(const QString& name = QStringLiteral("sim0")) const;

    // The directory active in this process, or null.
    static const RuntimeDir* Active();

private:
    QTemporaryDir dir_;
    QByteArray previousValue_;
    bool hadPrevious_ = false;
    const RuntimeDir* previousActive_ = nullptr;
};

} // namespace trelmo::testing

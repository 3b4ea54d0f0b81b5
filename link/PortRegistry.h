#pragma once
// Virtual modules announce themselves as symbolic links <private folder>/ports/<name> -> their pty device (the
// private folder: RuntimeFolder.h). A link counts only while its module runs and has announced it, which the
// module tells through locks on <private folder>/ports/.<name>.lock (ModuleNameClaim): the link left by a module
// killed with kill -9 is ignored, and the next module of that name replaces it.

#include "FileLock.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace trelmo {

// <private folder>/ports; empty while the private folder cannot be used.
QString PortRegistryDirectory();

// A running module's hold on its name. The first byte of its lock file claims the name, so that a second module
// of that name refuses to start; the second byte, locked once the module's link points at its device, makes the
// link count. Until then a link left behind by a killed module of that name is not taken for the new one's.
class ModuleNameClaim {
public:
    FileLock::Outcome Claim(const QString& registry, const QString& name);
    // The link now points at this module's device. False, with SystemError(), when it cannot be said.
    bool Announce();
    QString LockPath() const { return lockPath_; }
    int SystemError() const { return lock_.SystemError(); }

private:
    FileLock lock_;
    QString lockPath_;
};

// A running virtual module: the name of its registry link and the device the link points to.
struct RegisteredModule {
    QString name;
    QString device;
};

// The registry's links whose modules run and announced them and whose targets exist, in link-name order.
std::vector<RegisteredModule> RegisteredVirtualModules();

// Their device paths, in the same order.
QStringList RegisteredVirtualPorts();

// The port as the user chose it, kept so that it can be found again after it went away: a virtual module by its
// name (it comes back on another pseudo-terminal), a device by its link in the by-id folder when it has one (an
// adapter plugged back may get another ttyUSB number), any other path as typed.
struct PortChoice {
    enum class Kind { Path, VirtualModule };
    Kind kind = Kind::Path;
    QString value; // the path, or the module's name
};

inline const QString SerialByIdFolder = QStringLiteral("/dev/serial/by-id");

// What chosen (a device path, a bare device name under /dev, a running module's name or device) is to be found by.
PortChoice RememberPortChoice(const QString& chosen, const QString& byIdFolder = SerialByIdFolder);

// The device to open for choice now; empty while no virtual module of that name runs.
QString LocatePort(const PortChoice& choice);

} // namespace trelmo

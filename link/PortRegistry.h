#pragma once
// Virtual modules announce themselves as symbolic links <runtime dir>/trelmo-ports/<name> -> their pty device.

#include <QString>
#include <QStringList>

#include <vector>

namespace trelmo {

// The user's runtime directory: $XDG_RUNTIME_DIR when set, else Qt's runtime location.
QString UserRuntimeDirectory();

// $XDG_RUNTIME_DIR/trelmo-ports when the variable is set, else Qt's runtime location + /trelmo-ports.
QString PortRegistryDirectory();

// A running virtual module: the name of its registry link and the device the link points to.
struct RegisteredModule {
    QString name;
    QString device;
};

// The registry's links whose targets exist, in link-name order.
std::vector<RegisteredModule> RegisteredVirtualModules();

// Their device paths, in the same order.
QStringList RegisteredVirtualPorts();

} // namespace trelmo

#pragma once
// Virtual modules announce themselves as symbolic links <runtime dir>/trelmo-ports/<name> -> their pty device.

#include <QString>
#include <QStringList>

namespace trelmo {

// The user's runtime directory: $XDG_RUNTIME_DIR when set, else Qt's runtime location.
QString UserRuntimeDirectory();

// $XDG_RUNTIME_DIR/trelmo-ports when the variable is set, else Qt's runtime location + /trelmo-ports.
QString PortRegistryDirectory();

// Target device paths of the registry's links whose targets exist, in link-name order.
QStringList RegisteredVirtualPorts();

} // namespace trelmo

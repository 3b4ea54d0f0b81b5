#pragma once
// tshark reading a pcapng capture with the project's Wireshark dissector (resources/wireshark/trelmo.lua, or the
// one in the plugin folder WIRESHARK_PLUGIN_DIR names).

#include <QString>
#include <QStringList>

namespace trelmo::testing {

// Whether tshark runs here (the test set-up installs it; tests skip without it).
bool TsharkAvailable();

// One line per packet of the capture, the fields separated by '|'; a single "tshark failed: ..." line when tshark
// cannot read it.
QStringList TsharkFields(const QString& capture, const QStringList& fields);

} // namespace trelmo::testing

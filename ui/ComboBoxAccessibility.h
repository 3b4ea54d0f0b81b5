#pragma once
// Drop-down lists as assistive technology sees them. On Linux the toolkit names a drop-down list after its current
// entry, so a screen reader announces "9600" and a test driver cannot find the "Baud Rate:" list by its name. The
// interface installed here names a list by its accessible name (or its label) and keeps the entry as its value.

namespace trelmo {

// Serves every QComboBox of the process from now on; call it before the first drop-down list of a window is built,
// as the toolkit keeps the interface it made first for a widget.
void InstallComboBoxAccessibility();

} // namespace trelmo

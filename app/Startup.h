#pragma once

namespace trelmo {

// Takes the single-instance lock, runs the main window until it closes, and returns the process's exit code.
int RunStartUp();

} // namespace trelmo

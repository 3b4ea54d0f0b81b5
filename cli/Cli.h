#pragma once
// trelmo-cli: the command line, its commands and their output. RunCli is the whole program but for the
// application object, so that benchmarks can run it in-process.

#include "CliSession.h"

#include <QStringList>

namespace trelmo::cli {

// arguments[0] is the program name. Returns the exit status.
int RunCli(const QStringList& arguments, Output& output);

} // namespace trelmo::cli

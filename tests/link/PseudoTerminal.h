#pragma once
// Forwards to the test-support library; goes once no build file names this header.
#include "../support/PseudoTerminal.h"

#pragma once
// Forwards to the test-support library; goes once no test includes this header.
#include "MessageRecorder.h"
#include "SimProcess.h"
#include "TrafficLog.h"
#include "WireBytes.h"

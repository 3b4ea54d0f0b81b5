#pragma once
// What the windows say about the outcomes of the core's operations: string-table ids, one table per window.
// NoText stands for an outcome that shows nothing.

#include "AppDataObjectTable.h"
#include "ConnectionSteps.h"
#include "ObjectAccess.h"
#include "SerialBackend.h"
#include "TypedInput.h"
#include "WriteData.h"

#include <vector>

namespace trelmo {

constexpr int NoText = 0;

// Main window: the message of a failed connection, of a refused write length and of a refused cell edit.
int ConnectionOutcomeText(ConnectionOutcome outcome);
int WriteLengthOutcomeText(WriteLengthOutcome outcome);
int CellEditOutcomeText(CellEditOutcome outcome);

// Port dialog: the reason shown under "Error occurs! ERROR:00" when a port does not open (NoText: none worth naming).
int PortOpenErrorText(PortOpenError error);

// Object Module Access: the message of a refused Send, and for a read or write the status word (NoText leaves the
// field as it is) and the messages in the order they are shown.
int AccessCheckText(AccessCheck check);
struct AccessOutcomeTexts {
    int status = NoText;
    std::vector<int> messages;
};
AccessOutcomeTexts TextsForAccessOutcome(AccessOutcome outcome);
// The messages of write input that cannot be sent, in order.
std::vector<int> WriteInputTexts(WriteInput input);

// Application Data Objects: the message of a refused Add.
int AppDataObjectAddText(AppDataObjectAddOutcome outcome);

} // namespace trelmo

#pragma once
// What the windows say about the outcomes of the core's operations: text ids, one table per window.
// TextId::NoText stands for an outcome that shows nothing.

#include "AppDataObjectTable.h"
#include "ConnectionSteps.h"
#include "ObjectAccess.h"
#include "SerialBackend.h"
#include "TextIds.h"
#include "TypedInput.h"
#include "WriteData.h"

#include <vector>

namespace trelmo {

// Main window: the message of a failed connection, of a refused write length and of a refused cell edit.
TextId ConnectionOutcomeText(ConnectionOutcome outcome);
TextId WriteLengthOutcomeText(WriteLengthOutcome outcome);
TextId CellEditOutcomeText(CellEditOutcome outcome);

// Port dialog: the reason shown under "Error occurs! ERROR:00" when a port does not open (NoText: none worth naming).
TextId PortOpenErrorText(PortOpenError error);

// Object Module Access: the message of a refused Send, and for a read or write the status word (NoText leaves the
// field as it is) and the messages in the order they are shown.
TextId AccessCheckText(AccessCheck check);
struct AccessOutcomeTexts {
    TextId status = TextId::NoText;
    std::vector<TextId> messages;
};
AccessOutcomeTexts TextsForAccessOutcome(AccessOutcome outcome);
// The messages of write input that cannot be sent, in order.
std::vector<TextId> WriteInputTexts(WriteInput input);

// Application Data Objects: the message of a refused Add.
TextId AppDataObjectAddText(AppDataObjectAddOutcome outcome);

} // namespace trelmo

#include "OutcomeTexts.h"

namespace trelmo {
namespace {

constexpr int TextAutoBaudFailed = 103;     // "Connection failed! ERROR:01"
constexpr int TextBusAddressFailed = 105;   // "Connection failed! ERROR:02"
constexpr int TextGoOnlineFailed = 106;     // "Connection failed! ERROR:04"
constexpr int TextIllegalInputData = 110;   // "ERROR:61 Illegal input data"
constexpr int TextMaximumByte244 = 111;     // "ERROR:244 Maximum byte 244"
constexpr int TextRepeatedPair = 114;
constexpr int TextEmptyData = 115;
constexpr int TextCodesIncomplete = 126;
constexpr int TextInputDataMissing = 127;
constexpr int TextReadFailed = 128;
constexpr int TextWriteFailed = 129;
constexpr int TextError = 132;
constexpr int TextRight = 134;
constexpr int TextInputDataEmpty = 135;
constexpr int TextFailed = 136;
constexpr int TextSuccessful = 137;
constexpr int TextReservedObject = 142;
constexpr int TextNoPermission = 144;
constexpr int TextPortInUse = 145;
constexpr int TextNoSuchDevice = 146;

} // namespace

int ConnectionOutcomeText(ConnectionOutcome outcome)
{
    switch (outcome) {
    case ConnectionOutcome::Online:
        return NoText;
    case ConnectionOutcome::AutoBaudFailed:
        return TextAutoBaudFailed;
    case ConnectionOutcome::BusAddressFailed:
        return TextBusAddressFailed;
    case ConnectionOutcome::GoOnlineFailed:
        return TextGoOnlineFailed;
    }
    return NoText;
}

int WriteLengthOutcomeText(WriteLengthOutcome outcome)
{
    switch (outcome) {
    case WriteLengthOutcome::Applied:
        return NoText;
    case WriteLengthOutcome::OutOfRange:
        return TextMaximumByte244;
    }
    return NoText;
}

int CellEditOutcomeText(CellEditOutcome outcome)
{
    switch (outcome) {
    case CellEditOutcome::Stored:
        return NoText;
    case CellEditOutcome::NotUppercaseHex:
        return TextIllegalInputData;
    }
    return NoText;
}

int PortOpenErrorText(PortOpenError error)
{
    switch (error) {
    case PortOpenError::NoPermission:
        return TextNoPermission;
    case PortOpenError::InUse:
        return TextPortInUse;
    case PortOpenError::NoSuchDevice:
        return TextNoSuchDevice;
    case PortOpenError::None:
    case PortOpenError::Other:
        break;
    }
    return NoText;
}

int AccessCheckText(AccessCheck check)
{
    switch (check) {
    case AccessCheck::Ready:
        return NoText;
    case AccessCheck::CodesIncomplete:
        return TextCodesIncomplete;
    case AccessCheck::InputDataMissing:
        return TextInputDataMissing;
    case AccessCheck::ReservedObject:
        return TextReservedObject;
    }
    return NoText;
}

AccessOutcomeTexts TextsForAccessOutcome(AccessOutcome outcome)
{
    switch (outcome) {
    case AccessOutcome::ReadAnswered:
        return {TextRight, {}};
    case AccessOutcome::ReadNotSent:
        return {NoText, {TextReadFailed}};
    case AccessOutcome::ReadNotAnswered:
        return {TextError, {TextReadFailed}};
    case AccessOutcome::WriteAnswered:
        return {TextSuccessful, {}};
    case AccessOutcome::WriteInputEmpty:
        return {NoText, {TextInputDataEmpty, TextWriteFailed}};
    case AccessOutcome::WriteInputIllegal:
        return {NoText, {TextIllegalInputData, TextWriteFailed}};
    case AccessOutcome::ProbeNotSent:
    case AccessOutcome::ProbeNotAnswered:
    case AccessOutcome::WriteTooLong:
        return {NoText, {TextWriteFailed}};
    case AccessOutcome::WriteNotSent:
    case AccessOutcome::WriteNotAnswered:
        return {TextFailed, {TextWriteFailed}};
    }
    return {};
}

int AppDataObjectAddText(AppDataObjectAddOutcome outcome)
{
    switch (outcome) {
    case AppDataObjectAddOutcome::Accepted:
        return NoText;
    case AppDataObjectAddOutcome::RepeatedPair:
        return TextRepeatedPair;
    case AppDataObjectAddOutcome::EmptyData:
        return TextEmptyData;
    case AppDataObjectAddOutcome::IllegalData:
        return TextIllegalInputData;
    }
    return NoText;
}

} // namespace trelmo

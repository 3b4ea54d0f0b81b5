#include "OutcomeTexts.h"

#include <initializer_list>
#include <utility>

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
constexpr int TextNotSerialDevice = 149;

// The texts the table gives the outcome; none (NoText) for an outcome it does not list.
template <typename Outcome, typename Texts>
Texts Lookup(Outcome outcome, std::initializer_list<std::pair<Outcome, Texts>> table)
{
    for (const auto& [listed, texts] : table) {
        if (listed == outcome)
            return texts;
    }
    return Texts{};
}

} // namespace

int ConnectionOutcomeText(ConnectionOutcome outcome)
{
    return Lookup<ConnectionOutcome, int>(outcome, {{ConnectionOutcome::AutoBaudFailed, TextAutoBaudFailed},
                                                    {ConnectionOutcome::BusAddressFailed, TextBusAddressFailed},
                                                    {ConnectionOutcome::GoOnlineFailed, TextGoOnlineFailed}});
}

int WriteLengthOutcomeText(WriteLengthOutcome outcome)
{
    return outcome == WriteLengthOutcome::OutOfRange ? TextMaximumByte244 : NoText;
}

int CellEditOutcomeText(CellEditOutcome outcome)
{
    return outcome == CellEditOutcome::NotUppercaseHex ? TextIllegalInputData : NoText;
}

int PortOpenErrorText(PortOpenError error)
{
    return Lookup<PortOpenError, int>(error, {{PortOpenError::NoPermission, TextNoPermission},
                                              {PortOpenError::InUse, TextPortInUse},
                                              {PortOpenError::NoSuchDevice, TextNoSuchDevice},
                                              {PortOpenError::NotSerialDevice, TextNotSerialDevice}});
}

int AccessCheckText(AccessCheck check)
{
    return Lookup<AccessCheck, int>(check, {{AccessCheck::CodesIncomplete, TextCodesIncomplete},
                                            {AccessCheck::InputDataMissing, TextInputDataMissing},
                                            {AccessCheck::ReservedObject, TextReservedObject}});
}

AccessOutcomeTexts TextsForAccessOutcome(AccessOutcome outcome)
{
    using O = AccessOutcome;
    return Lookup<O, AccessOutcomeTexts>(outcome, {
        {O::ReadAnswered, {TextRight, {}}},
        {O::ReadNotSent, {NoText, {TextReadFailed}}},
        {O::ReadNotAnswered, {TextError, {TextReadFailed}}},
        {O::WriteAnswered, {TextSuccessful, {}}},
        {O::ProbeNotSent, {NoText, {TextWriteFailed}}},
        {O::ProbeNotAnswered, {NoText, {TextWriteFailed}}},
        {O::WriteTooLong, {NoText, {TextWriteFailed}}},
        {O::WriteNotSent, {TextFailed, {TextWriteFailed}}},
        {O::WriteNotAnswered, {TextFailed, {TextWriteFailed}}},
    });
}

std::vector<int> WriteInputTexts(WriteInput input)
{
    return Lookup<WriteInput, std::vector<int>>(input, {{WriteInput::Empty, {TextInputDataEmpty, TextWriteFailed}},
                                                        {WriteInput::Illegal, {TextIllegalInputData, TextWriteFailed}}});
}

int AppDataObjectAddText(AppDataObjectAddOutcome outcome)
{
    using O = AppDataObjectAddOutcome;
    return Lookup<O, int>(outcome, {{O::OutOfRange, TextIllegalInputData},
                                    {O::RepeatedPair, TextRepeatedPair},
                                    {O::EmptyData, TextEmptyData},
                                    {O::IllegalData, TextIllegalInputData}});
}

} // namespace trelmo

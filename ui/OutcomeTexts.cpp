#include "OutcomeTexts.h"

#include <initializer_list>
#include <utility>

namespace trelmo {
namespace {

using T = TextId;

// The texts the table gives the outcome; none (TextId::NoText) for an outcome it does not list.
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

TextId ConnectionOutcomeText(ConnectionOutcome outcome)
{
    return Lookup<ConnectionOutcome, T>(outcome, {{ConnectionOutcome::AutoBaudFailed, T::AutoBaudFailed},
                                                  {ConnectionOutcome::BusAddressFailed, T::BusAddressFailed},
                                                  {ConnectionOutcome::GoOnlineFailed, T::GoOnlineFailed}});
}

TextId WriteLengthOutcomeText(WriteLengthOutcome outcome)
{
    return outcome == WriteLengthOutcome::OutOfRange ? T::MaximumByte244 : T::NoText;
}

TextId CellEditOutcomeText(CellEditOutcome outcome)
{
    return outcome == CellEditOutcome::NotUppercaseHex ? T::IllegalInputData : T::NoText;
}

TextId PortOpenErrorText(PortOpenError error)
{
    return Lookup<PortOpenError, T>(error, {{PortOpenError::NoPermission, T::NoPermission},
                                            {PortOpenError::InUse, T::PortInUse},
                                            {PortOpenError::NoSuchDevice, T::NoSuchDevice},
                                            {PortOpenError::NotSerialDevice, T::NotSerialDevice}});
}

TextId AccessCheckText(AccessCheck check)
{
    return Lookup<AccessCheck, T>(check, {{AccessCheck::CodesIncomplete, T::CodesIncomplete},
                                          {AccessCheck::InputDataMissing, T::InputDataMissing},
                                          {AccessCheck::ReservedObject, T::ReservedObject}});
}

AccessOutcomeTexts TextsForAccessOutcome(AccessOutcome outcome)
{
    using O = AccessOutcome;
    return Lookup<O, AccessOutcomeTexts>(outcome, {
        {O::ReadAnswered, {T::Right, {}}},
        {O::ReadNotSent, {T::NoText, {T::ReadFailed}}},
        {O::ReadNotAnswered, {T::Error, {T::ReadFailed}}},
        {O::WriteAnswered, {T::Successful, {}}},
        {O::ProbeNotSent, {T::NoText, {T::WriteFailed}}},
        {O::ProbeNotAnswered, {T::NoText, {T::WriteFailed}}},
        {O::WriteTooLong, {T::NoText, {T::WriteFailed}}},
        {O::WriteNotSent, {T::Failed, {T::WriteFailed}}},
        {O::WriteNotAnswered, {T::Failed, {T::WriteFailed}}},
    });
}

std::vector<TextId> WriteInputTexts(WriteInput input)
{
    return Lookup<WriteInput, std::vector<T>>(input, {{WriteInput::Empty, {T::InputDataEmpty, T::WriteFailed}},
                                                      {WriteInput::Illegal, {T::IllegalInputData, T::WriteFailed}}});
}

TextId AppDataObjectAddText(AppDataObjectAddOutcome outcome)
{
    using O = AppDataObjectAddOutcome;
    return Lookup<O, T>(outcome, {{O::OutOfRange, T::IllegalInputData},
                                  {O::RepeatedPair, T::RepeatedPair},
                                  {O::EmptyData, T::EmptyData},
                                  {O::IllegalData, T::IllegalInputData}});
}

} // namespace trelmo

#include "ModuleModel.h"

#include "HexText.h"

#include <algorithm>

namespace trelmo {
namespace {

constexpr std::size_t MaxNotes = 200;

struct Codes {
    std::uint8_t service;
    std::uint8_t object;
    std::uint16_t instance;
    std::uint16_t attribute;
};

// Only for frames whose Length covers the object header (checked by the caller).
Codes CodesOf(const Bytes& frame)
{
    return {frame[ModuleFrame::Service], frame[ModuleFrame::ObjectCode],
            ReadBigEndian16(&frame[ModuleFrame::InstanceCode]), ReadBigEndian16(&frame[ModuleFrame::AttributeCode])};
}

std::size_t BodyLength(const Bytes& frame)
{
    return ReadBigEndian16(&frame[ModuleFrame::Length]);
}

Bytes DataOf(const Bytes& frame)
{
    const auto begin = frame.begin() + ModuleFrame::Data;
    return Bytes(begin, begin + static_cast<std::ptrdiff_t>(BodyLength(frame) - ModuleFrame::ObjectHeaderSize));
}

void AppendText(Bytes& out, const std::string& text)
{
    for (std::size_t i = 0; i < ModuleInfoReply::TextSize; ++i)
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

void AppendBigEndian16(Bytes& out, std::uint16_t value)
{
    out.resize(out.size() + 2);
    WriteBigEndian16(&out[out.size() - 2], value);
}

bool Is(const Codes& c, const ObjectAddress& address)
{
    return c.object == address.object && c.instance == address.instance && c.attribute == address.attribute;
}

std::tuple<std::uint8_t, std::uint16_t, std::uint16_t> KeyOf(const ObjectAddress& address)
{
    return {address.object, address.instance, address.attribute};
}

// Only for frames whose Length covers the object header unless they carry I/O data (checked by the caller).
AnswerKind KindOf(const Bytes& frame)
{
    const std::uint8_t type = frame[ModuleFrame::FrameType];
    if (type == IoData)
        return AnswerKind::Io;
    if (type != Request)
        return AnswerKind::Ack; // the host's answer to one of the module's requests
    const Codes codes = CodesOf(frame);
    if (codes.object == AppDataObjectCode)
        return AnswerKind::Ack; // the host's write of an application data object the module named
    if (codes.service == ServiceWrite && Is(codes, BusAddressAttribute))
        return AnswerKind::BusAddress;
    if (codes.service == ServiceWrite && Is(codes, OnlineAttribute))
        return AnswerKind::Online;
    if (codes.service == ServiceRead && Is(codes, NetworkInfoAttribute))
        return AnswerKind::Info1;
    if (codes.service == ServiceRead && Is(codes, ModuleInfoAttribute))
        return AnswerKind::Info2;
    return AnswerKind::Object;
}

} // namespace

ModuleModel::ModuleModel(ModuleOptions options) : options_(std::move(options))
{
    // The module's own objects: identity (0x00 instance 1), on-line state (0x00 instance 2), network (0x02),
    // bus address (0x03). Their values are computed when read; the table marks that they exist.
    attributes_[KeyOf(ModuleInfoAttribute)] = {{}, false, false};
    attributes_[KeyOf(OnlineAttribute)] = {{}, true, false};
    attributes_[KeyOf(NetworkInfoAttribute)] = {{}, false, false};
    attributes_[KeyOf(BusAddressAttribute)] = {{}, true, false};
    // A demo object of plain attributes for the object access window.
    attributes_[{0x01, 1, 1}] = {{0x05}, true, false};
    attributes_[{0x01, 1, 2}] = {{0x00, 0x00, 0x03, 0xE8}, true, false};
    attributes_[{0x01, 1, 3}] = {{0x00, 0x64}, true, false};
    attributes_[{0x01, 1, 4}] = {{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                  0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F}, true, false};
    Bytes text;
    AppendText(text, "Demo text");
    attributes_[{0x01, 1, 5}] = {text, true, true};
    attributes_[{0x01, 2, 1}] = {{0x00, 0x2A}, false, false};
}

std::vector<Bytes> ModuleModel::Receive(const std::uint8_t* bytes, std::size_t count, int hostBaudRate)
{
    std::vector<Bytes> answers;
    for (ModuleAnswer& answer : ReceiveAnswers(bytes, count, hostBaudRate))
        answers.push_back(std::move(answer.bytes));
    return answers;
}

std::vector<ModuleAnswer> ModuleModel::ReceiveAnswers(const std::uint8_t* bytes, std::size_t count, int hostBaudRate)
{
    std::vector<ModuleAnswer> answers;
    pending_.insert(pending_.end(), bytes, bytes + count);
    while (!pending_.empty()) {
        if (pending_[0] == AutoBaudProbeByte) {
            if (pending_.size() < 2)
                break;
            // FrameType 0x55 does not exist, so 0x55 0x55 at the start of a frame is always a probe.
            if (pending_[1] == AutoBaudProbeByte) {
                TakeProbe(answers);
                continue;
            }
        }
        Bytes frame;
        if (!TakeFrame(frame))
            break;
        if (frame.empty() || !LineSpeedAccepted(hostBaudRate))
            continue;
        ++framesServed_;
        Serve(frame, answers);
    }
    return answers;
}

void ModuleModel::TakeProbe(std::vector<ModuleAnswer>& answers)
{
    pending_.erase(pending_.begin(), pending_.begin() + 2);
    if (options_.mode != OperatingMode::AutoBaud) {
        Note("baud-rate probe ignored in a fixed-speed mode");
        return;
    }
    handshakeDone_ = true;
    if (!options_.silent)
        answers.push_back({{options_.probeAnswer}, std::nullopt, 2});
}

// Takes one whole frame off the pending bytes. Returns false when more bytes are needed; a frame that is
// dropped leaves `frame` empty.
bool ModuleModel::TakeFrame(Bytes& frame)
{
    if (pending_.size() < ModuleFrame::HeaderSize)
        return false;
    if (pending_[ModuleFrame::FrameType] > Response) {
        Note("unknown frame type " + HexPair(pending_[ModuleFrame::FrameType]) + ", "
             + std::to_string(pending_.size()) + " bytes dropped");
        pending_.clear();
        return true;
    }
    const std::size_t length = ReadBigEndian16(&pending_[ModuleFrame::Length]);
    if (length > MaxIoDataLength) {
        Note("frame Length " + std::to_string(length) + " beyond " + std::to_string(MaxIoDataLength) + ", "
             + std::to_string(pending_.size()) + " bytes dropped");
        pending_.clear();
        return true;
    }
    const std::size_t total = length + ModuleFrame::Overhead;
    if (pending_.size() < total)
        return false;
    Bytes taken(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
    if (ReadBigEndian16(&taken[total - 2]) != ComputeCrc16(taken.data(), static_cast<std::uint16_t>(total - 2))) {
        Note("frame with a wrong CRC dropped: " + HexPairsText(taken));
        return true;
    }
    frame = std::move(taken);
    return true;
}

bool ModuleModel::LineSpeedAccepted(int hostBaudRate)
{
    switch (options_.mode) {
    case OperatingMode::AutoBaud:
        if (!handshakeDone_)
            Note("frame before the baud-rate handshake ignored");
        return handshakeDone_;
    case OperatingMode::Uart9600:
    case OperatingMode::Uart115200: {
        const int expected = FixedBaudRate(options_.mode);
        if (hostBaudRate != expected)
            Note("frame at " + std::to_string(hostBaudRate) + " bps ignored (module runs at "
                 + std::to_string(expected) + " bps)");
        return hostBaudRate == expected;
    }
    }
    return false;
}

void ModuleModel::DropPartialFrame()
{
    if (pending_.empty())
        return;
    Note("incomplete frame dropped: " + HexPairsText(pending_));
    pending_.clear();
}

std::vector<std::string> ModuleModel::TakeNotes()
{
    std::vector<std::string> notes;
    notes.swap(notes_);
    return notes;
}

void ModuleModel::Note(std::string text)
{
    if (notes_.size() < MaxNotes)
        notes_.push_back(std::move(text));
}

bool ModuleModel::Answers(AnswerKind kind) const
{
    if (options_.silent || options_.noAnswer.count(kind) != 0)
        return false;
    return options_.silentAfter < 0 || framesServed_ <= options_.silentAfter;
}

void ModuleModel::Serve(const Bytes& frame, std::vector<ModuleAnswer>& answers)
{
    const std::uint8_t type = frame[ModuleFrame::FrameType];
    if (type != IoData && BodyLength(frame) < ModuleFrame::ObjectHeaderSize) {
        Note("object frame shorter than its header ignored");
        return;
    }
    const AnswerKind kind = KindOf(frame);
    Bytes answer;
    if (options_.errorAnswer.count(kind) != 0)
        answer = Refusal(frame);
    else if (type == IoData)
        answer = AnswerIoData(frame);
    else if (type == Request)
        answer = AnswerRequest(frame);
    else
        answer = AnswerHostResponse(frame);
    if (!answer.empty() && Answers(kind))
        answers.push_back({Damaged(kind, WithBadLength(std::move(answer))), kind, frame.size()});
}

Bytes ModuleModel::AnswerIoData(const Bytes& frame)
{
    ++ioCycles_;
    if (online_) {
        ++cyclesOnline_;
        Bytes request = ModuleRequestInCycle();
        if (!request.empty())
            return request;
    }
    // A cycle counter, the host's write data echoed, then bytes that move with the counter.
    const std::size_t written = BodyLength(frame);
    Bytes data(options_.readLength, 0);
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i == 0)
            data[i] = static_cast<std::uint8_t>(ioCycles_);
        else if (i - 1 < written)
            data[i] = frame[ModuleFrame::HeaderSize + i - 1];
        else
            data[i] = static_cast<std::uint8_t>(ioCycles_ + i);
    }
    return AssembleFrame(frame[ModuleFrame::Sequence], IoData, data);
}

Bytes ModuleModel::ModuleRequestInCycle()
{
    if (options_.configAt > 0 && cyclesOnline_ == options_.configAt)
        return AssembleObjectFrame(sequence_.Take(), Request, ServiceWrite, AppConfigurationObjectCode,
                                   ConfigurationDataInstance, HandOverAttribute,
                                   options_.configData);
    if (options_.paramAt > 0 && cyclesOnline_ == options_.paramAt)
        return AssembleObjectFrame(sequence_.Take(), Request, ServiceWrite, AppConfigurationObjectCode,
                                   ParameterDataInstance, HandOverAttribute,
                                   options_.paramData);
    if (options_.configEvery > 0 && cyclesOnline_ % options_.configEvery == 0) {
        const bool parameters = (cyclesOnline_ / options_.configEvery) % 2 == 0;
        return AssembleObjectFrame(sequence_.Take(), Request, ServiceWrite, AppConfigurationObjectCode,
                                   parameters ? ParameterDataInstance : ConfigurationDataInstance, HandOverAttribute,
                                   parameters ? options_.paramData : options_.configData);
    }
    if (options_.adiEvery > 0 && cyclesOnline_ % options_.adiEvery == 0 && !options_.adiList.empty()) {
        const auto& named = options_.adiList[adiIndex_++ % options_.adiList.size()];
        return AssembleObjectFrame(sequence_.Take(), Response, ServiceRead, AppDataObjectCode, named.first,
                                   named.second);
    }
    return {};
}

Bytes ModuleModel::AnswerRequest(const Bytes& frame)
{
    const Codes codes = CodesOf(frame);
    if (codes.object == AppDataObjectCode) {
        // The host's answer to an application data object request.
        return codes.service == ServiceWrite ? Success(frame) : Error(frame, ModuleError::UnsupportedService);
    }
    if (codes.service == ServiceRead)
        return ReadAttribute(frame);
    if (codes.service == ServiceWrite)
        return WriteAttribute(frame);
    return Error(frame, ModuleError::UnsupportedService);
}

Bytes ModuleModel::AnswerHostResponse(const Bytes& frame)
{
    if (frame[ModuleFrame::ObjectCode] != AppConfigurationObjectCode) {
        Note("response for object " + HexPair(frame[ModuleFrame::ObjectCode]) + " ignored");
        return {};
    }
    return Success(frame);
}

namespace {

// Finds why a code triple is not in the table: the first of object, instance, attribute that is unknown.
template <typename Map>
ModuleError MissingPart(const Map& attributes, const Codes& c)
{
    bool object = false;
    bool instance = false;
    for (const auto& entry : attributes) {
        if (std::get<0>(entry.first) != c.object)
            continue;
        object = true;
        instance = instance || std::get<1>(entry.first) == c.instance;
    }
    if (!object)
        return ModuleError::UnknownObject;
    return instance ? ModuleError::UnknownAttribute : ModuleError::UnknownInstance;
}

} // namespace

Bytes ModuleModel::ReadAttribute(const Bytes& frame)
{
    const Codes codes = CodesOf(frame);
    const auto found = attributes_.find({codes.object, codes.instance, codes.attribute});
    if (found == attributes_.end())
        return Error(frame, MissingPart(attributes_, codes));
    if (Is(codes, ModuleInfoAttribute))
        return Success(frame, ModuleInformation());
    if (Is(codes, NetworkInfoAttribute))
        return Success(frame, NetworkInformation());
    if (Is(codes, OnlineAttribute))
        return Success(frame, {static_cast<std::uint8_t>(online_ ? 1 : 0)});
    if (Is(codes, BusAddressAttribute))
        return Success(frame, {busAddress_});
    return Success(frame, found->second.value);
}

Bytes ModuleModel::WriteAttribute(const Bytes& frame)
{
    const Codes codes = CodesOf(frame);
    const auto found = attributes_.find({codes.object, codes.instance, codes.attribute});
    if (found == attributes_.end())
        return Error(frame, MissingPart(attributes_, codes));
    Attribute& attribute = found->second;
    if (!attribute.writable)
        return Error(frame, ModuleError::ReadOnly);
    const Bytes data = DataOf(frame);

    if (Is(codes, BusAddressAttribute) || Is(codes, OnlineAttribute)) {
        if (data.size() != 1)
            return Error(frame, ModuleError::WrongSize);
        if (Is(codes, BusAddressAttribute)) {
            if (data[0] < MinBusAddress || data[0] > MaxBusAddress)
                return Error(frame, ModuleError::OutOfRange);
            busAddress_ = data[0];
        } else {
            if (data[0] > 1)
                return Error(frame, ModuleError::OutOfRange);
            online_ = data[0] == 1;
            cyclesOnline_ = 0; // the module's own requests come again after each going on line
        }
        return Success(frame);
    }

    const std::size_t size = attribute.value.size();
    const bool sizeFits = attribute.text ? (!data.empty() && data.size() <= size) : data.size() == size;
    if (!sizeFits)
        return Error(frame, ModuleError::WrongSize);
    std::fill(attribute.value.begin(), attribute.value.end(), 0);
    std::copy(data.begin(), data.end(), attribute.value.begin());
    return Success(frame);
}

// Object 0x00 instance 1: product type, serial number, production date, hardware and firmware versions.
Bytes ModuleModel::ModuleInformation() const
{
    Bytes data;
    AppendText(data, options_.productType);
    const std::uint32_t serial = options_.serialNumber;
    AppendBigEndian16(data, static_cast<std::uint16_t>(serial >> 16));
    AppendBigEndian16(data, static_cast<std::uint16_t>(serial & 0xFFFFu));
    data.insert(data.end(), options_.productionDate.begin(), options_.productionDate.end());
    AppendBigEndian16(data, options_.hardwareMajor);
    AppendBigEndian16(data, options_.hardwareMinor);
    AppendBigEndian16(data, options_.firmwareMajor);
    AppendBigEndian16(data, options_.firmwareMinor);
    return data;
}

// Object 0x02 instance 1: the network type text, then zeros up to the answer's configured size.
Bytes ModuleModel::NetworkInformation() const
{
    const std::size_t frameBytes = ModuleFrame::EmptyObjectFrameSize;
    const std::size_t size = options_.info1Length > frameBytes ? options_.info1Length - frameBytes : 0;
    Bytes data;
    AppendText(data, options_.networkType);
    data.resize(size, 0);
    return data;
}

Bytes ModuleModel::Success(const Bytes& request, const Bytes& data) const
{
    const Codes c = CodesOf(request);
    return AssembleObjectFrame(request[ModuleFrame::Sequence], Response, c.service, c.object, c.instance,
                               c.attribute, data);
}

Bytes ModuleModel::Error(const Bytes& request, ModuleError error) const
{
    const Codes c = CodesOf(request);
    return AssembleObjectFrame(request[ModuleFrame::Sequence], ErrorAnswer, c.service, c.object, c.instance,
                               c.attribute, {static_cast<std::uint8_t>(error)});
}

// An error answer to any frame; I/O data frames have no object header, so theirs is zero.
Bytes ModuleModel::Refusal(const Bytes& request) const
{
    const Bytes code{static_cast<std::uint8_t>(ScenarioRefusal)};
    if (request[ModuleFrame::FrameType] == IoData)
        return AssembleObjectFrame(request[ModuleFrame::Sequence], ErrorAnswer, 0, 0, 0, 0, code);
    return Error(request, ScenarioRefusal);
}

// A wrong CRC (its last byte inverted), then a cut to the first few bytes, for the kinds that scenarios choose.
Bytes ModuleModel::Damaged(AnswerKind kind, Bytes answer) const
{
    if (options_.badCrc.count(kind) != 0 && !answer.empty())
        answer.back() ^= 0xFF;
    if (options_.shortAnswer.count(kind) != 0 && answer.size() > options_.shortBytes)
        answer.resize(options_.shortBytes);
    return answer;
}

// Declares a Length that does not match the bytes sent; the CRC still closes the bytes actually sent.
Bytes ModuleModel::WithBadLength(Bytes answer) const
{
    if (options_.badLength == BadLength::None || answer.size() < ModuleFrame::Overhead)
        return answer;
    const std::size_t real = answer.size() - ModuleFrame::Overhead;
    std::size_t declared = 0;
    switch (options_.badLength) {
    case BadLength::Over: declared = std::min<std::size_t>(real + 64, 0xFFFF); break;
    case BadLength::Huge: declared = 0xFFFF; break;
    case BadLength::Under: declared = 3; break;
    case BadLength::None: break;
    }
    WriteBigEndian16(&answer[ModuleFrame::Length], static_cast<std::uint16_t>(declared));
    PlaceCrc(answer.data(), real);
    return answer;
}

} // namespace trelmo

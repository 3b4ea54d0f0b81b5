#pragma once
// The virtual module's side of the protocol, without any device: bytes from the host go in, answers come out.

#include "Frame.h"
#include "LineSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace trelmo {

// Codes in the Data of the module's error answers (FrameType ErrorAnswer).
enum class ModuleError : std::uint8_t {
    UnknownObject = 0x01,
    UnknownInstance = 0x02,
    UnknownAttribute = 0x03,
    ReadOnly = 0x04,
    WrongSize = 0x05,
    OutOfRange = 0x06,
    UnsupportedService = 0x07,
};

// Kinds of request that a scenario can single out (leave unanswered, refuse, damage or delay the answer).
enum class AnswerKind { BusAddress, Online, Info1, Info2, Object, Io, Ack };

// Error code of the answers that a scenario refuses.
constexpr ModuleError ScenarioRefusal = ModuleError::UnsupportedService;

// One answer to send, and the kind of request it answers (none for a probe answer).
struct ModuleAnswer {
    Bytes bytes;
    std::optional<AnswerKind> kind;
    std::size_t requestBytes = 0; // the size on the line of the request it answers
};

// Answers whose declared Length does not match what is sent.
enum class BadLength { None, Over, Under, Huge };

struct ModuleOptions {
    OperatingMode mode = OperatingMode::AutoBaud;
    std::size_t readLength = 16;

    std::string networkType = "Virtual Fieldbus";
    std::string productType = "Trelmo Sim Module";
    std::uint32_t serialNumber = 123456;
    std::array<std::uint8_t, 4> productionDate{0x20, 0x23, 0x06, 0x15};
    std::uint16_t hardwareMajor = 1, hardwareMinor = 2;
    std::uint16_t firmwareMajor = 2, firmwareMinor = 10;
    std::size_t info1Length = ModuleInfoReply::FirstSize; // whole first module-information answer, in bytes

    Bytes configData{0x10, 0x20, 0x30, 0x40};
    Bytes paramData{0x01, 0x00, 0x64};
    int configAt = 3; // cyclic frame (counted from going on line) answered by the configuration request; 0 = never
    int paramAt = 5;
    int configEvery = 0; // every N-th cyclic frame on line is answered by the configuration or the parameter
                         // request, in turn; 0 = never
    int adiEvery = 0; // every N-th cyclic frame on line is answered by an application data object request; 0 = never
    std::vector<std::pair<std::uint16_t, std::uint16_t>> adiList{{1, 1}};

    std::uint8_t probeAnswer = AutoBaudAnswerByte;
    bool silent = false;
    int silentAfter = -1; // answer only the first N frames; -1 = no limit
    std::set<AnswerKind> noAnswer;
    std::set<AnswerKind> errorAnswer; // refused with an error frame, without taking effect
    std::set<AnswerKind> badCrc;      // last CRC byte inverted
    std::set<AnswerKind> shortAnswer; // cut to their first shortBytes bytes
    std::size_t shortBytes = 3;
    BadLength badLength = BadLength::None;
};

class ModuleModel {
public:
    explicit ModuleModel(ModuleOptions options = {});

    // Takes bytes as they arrive from the host. hostBaudRate is the line speed the host has set (0 when unknown).
    // Returns the answers to send, in order.
    std::vector<Bytes> Receive(const std::uint8_t* bytes, std::size_t count, int hostBaudRate);
    std::vector<Bytes> Receive(const Bytes& bytes, int hostBaudRate) { return Receive(bytes.data(), bytes.size(), hostBaudRate); }
    // The same, with the kind of request each answer belongs to.
    std::vector<ModuleAnswer> ReceiveAnswers(const std::uint8_t* bytes, std::size_t count, int hostBaudRate);

    // True while the start of a frame (or of a probe) waits for the rest.
    bool HasPartialFrame() const { return !pending_.empty(); }
    // Forgets a partly received frame; the line has been idle too long for it to be completed.
    void DropPartialFrame();

    // Complete frames with a good CRC that were taken for serving (right line speed, after the handshake).
    int FramesServed() const { return framesServed_; }
    bool HandshakeDone() const { return handshakeDone_; }
    bool Online() const { return online_; }
    std::uint8_t BusAddress() const { return busAddress_; }
    // Diagnostics since the last call (dropped frames, refused speeds), for the module's stderr.
    std::vector<std::string> TakeNotes();

private:
    struct Attribute {
        Bytes value;
        bool writable = true;
        bool text = false; // writes of 1 to value.size() bytes, zero-padded
    };
    using AttributeKey = std::tuple<std::uint8_t, std::uint16_t, std::uint16_t>;

    void TakeProbe(std::vector<ModuleAnswer>& answers);
    bool TakeFrame(Bytes& frame);
    bool LineSpeedAccepted(int hostBaudRate);
    void Serve(const Bytes& frame, std::vector<ModuleAnswer>& answers);
    bool Answers(AnswerKind kind) const;
    Bytes AnswerIoData(const Bytes& frame);
    Bytes AnswerRequest(const Bytes& frame);
    Bytes AnswerHostResponse(const Bytes& frame);
    Bytes ReadAttribute(const Bytes& frame);
    Bytes WriteAttribute(const Bytes& frame);
    Bytes ModuleInformation() const;
    Bytes NetworkInformation() const;
    Bytes ModuleRequestInCycle();
    Bytes Success(const Bytes& request, const Bytes& data = {}) const;
    Bytes Error(const Bytes& request, ModuleError error) const;
    Bytes Refusal(const Bytes& request) const;
    Bytes WithBadLength(Bytes answer) const;
    Bytes Damaged(AnswerKind kind, Bytes answer) const;
    void Note(std::string text);

    ModuleOptions options_;
    Bytes pending_;
    SequenceCounter sequence_;
    std::map<AttributeKey, Attribute> attributes_;
    bool handshakeDone_ = false;
    bool online_ = false;
    std::uint8_t busAddress_ = 0;
    int framesServed_ = 0;
    std::uint32_t ioCycles_ = 0;
    int cyclesOnline_ = 0;
    std::size_t adiIndex_ = 0;
    std::vector<std::string> notes_;
};

} // namespace trelmo

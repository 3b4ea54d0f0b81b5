// The virtual module's protocol logic, without a pseudo-terminal.

#include "ModuleModel.h"

#include "HexText.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

#include <random>

namespace trelmo {
namespace {

using testing::CrcCloses;
using testing::HostRequest;

constexpr int AnyBaud = 115200;

// A model past the handshake, so that frames are served at once.
ModuleModel ReadyModel(ModuleOptions options = {})
{
    options.mode = OperatingMode::AutoBaud;
    ModuleModel model(std::move(options));
    model.Receive({0x55, 0x55}, AnyBaud);
    return model;
}

// Sends one frame and expects exactly one answer; returns it (or an empty frame).
Bytes AnswerTo(ModuleModel& model, const Bytes& frame)
{
    const std::vector<Bytes> answers = model.Receive(frame, AnyBaud);
    EXPECT_EQ(answers.size(), 1u);
    return answers.empty() ? Bytes{} : answers[0];
}

void GoOnline(ModuleModel& model)
{
    AnswerTo(model, HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x05}));
    AnswerTo(model, HostRequest(2, ServiceWrite, 0x00, 2, 0, {0x01}));
    ASSERT_TRUE(model.Online());
}

TEST(ModuleModelTest, AutoModeAnswersProbesAndIgnoresFramesBeforeTheHandshake)
{
    ModuleModel model;
    const Bytes busAddress = HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x7E});
    EXPECT_TRUE(model.Receive(busAddress, AnyBaud).empty());
    EXPECT_FALSE(model.TakeNotes().empty());

    // A probe whose two bytes arrive apart is still one probe.
    EXPECT_TRUE(model.Receive({0x55}, AnyBaud).empty());
    EXPECT_EQ(model.Receive({0x55}, AnyBaud), std::vector<Bytes>{{0xAA}});
    EXPECT_TRUE(model.HandshakeDone());

    // Probes keep being answered (a host that connects again probes again), frames are served.
    EXPECT_EQ(model.Receive({0x55, 0x55}, AnyBaud), std::vector<Bytes>{{0xAA}});
    EXPECT_EQ(AnswerTo(model, busAddress), AssembleObjectFrame(1, Response, ServiceWrite, 0x03, 1, 1));
    EXPECT_EQ(model.BusAddress(), 0x7E);
}

TEST(ModuleModelTest, FrameWithSequence55IsNotTakenForAProbe)
{
    ModuleModel model = ReadyModel();
    const Bytes read = HostRequest(0x55, ServiceRead, 0x01, 1, 1);
    EXPECT_EQ(AnswerTo(model, read), AssembleObjectFrame(0x55, Response, ServiceRead, 0x01, 1, 1, {0x05}));
}

TEST(ModuleModelTest, FixedModeIgnoresProbesAndServesOnlyAtItsSpeed)
{
    struct Case {
        OperatingMode mode;
        int servedAt;
        int refusedAt;
    };
    for (const Case& c : {Case{OperatingMode::Uart9600, 9600, 115200}, Case{OperatingMode::Uart115200, 115200, 9600}}) {
        ModuleOptions options;
        options.mode = c.mode;
        ModuleModel model(options);
        const Bytes read = HostRequest(4, ServiceRead, 0x03, 1, 1);
        EXPECT_TRUE(model.Receive({0x55, 0x55}, c.servedAt).empty());
        EXPECT_TRUE(model.Receive(read, c.refusedAt).empty());
        EXPECT_TRUE(model.Receive(read, 0).empty());
        EXPECT_EQ(model.Receive(read, c.servedAt).size(), 1u);
        EXPECT_EQ(model.FramesServed(), 1);
    }
}

struct RequestCase {
    const char* name;
    Bytes request;
    Bytes answer;
};

TEST(ModuleModelTest, AnswersEachRequestKind)
{
    const Bytes text = {'D', 'e', 'm', 'o', ' ', 't', 'e', 'x', 't', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes padded = {'H', 'i', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const RequestCase cases[] = {
        {"bus address 126", HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x7E}),
         AssembleObjectFrame(1, Response, ServiceWrite, 0x03, 1, 1)},
        {"bus address 1", HostRequest(2, ServiceWrite, 0x03, 1, 1, {0x01}),
         AssembleObjectFrame(2, Response, ServiceWrite, 0x03, 1, 1)},
        {"bus address read", HostRequest(3, ServiceRead, 0x03, 1, 1),
         AssembleObjectFrame(3, Response, ServiceRead, 0x03, 1, 1, {0x01})},
        {"go on line", HostRequest(4, ServiceWrite, 0x00, 2, 0, {0x01}),
         AssembleObjectFrame(4, Response, ServiceWrite, 0x00, 2, 0)},
        {"on-line state", HostRequest(5, ServiceRead, 0x00, 2, 0),
         AssembleObjectFrame(5, Response, ServiceRead, 0x00, 2, 0, {0x01})},
        {"read 1 byte", HostRequest(6, ServiceRead, 0x01, 1, 1),
         AssembleObjectFrame(6, Response, ServiceRead, 0x01, 1, 1, {0x05})},
        {"write 2 bytes", HostRequest(7, ServiceWrite, 0x01, 1, 3, {0x0A, 0x0B}),
         AssembleObjectFrame(7, Response, ServiceWrite, 0x01, 1, 3)},
        {"read back 2 bytes", HostRequest(8, ServiceRead, 0x01, 1, 3),
         AssembleObjectFrame(8, Response, ServiceRead, 0x01, 1, 3, {0x0A, 0x0B})},
        {"write 4 bytes", HostRequest(9, ServiceWrite, 0x01, 1, 2, {1, 2, 3, 4}),
         AssembleObjectFrame(9, Response, ServiceWrite, 0x01, 1, 2)},
        {"read back 4 bytes", HostRequest(10, ServiceRead, 0x01, 1, 2),
         AssembleObjectFrame(10, Response, ServiceRead, 0x01, 1, 2, {1, 2, 3, 4})},
        {"read text", HostRequest(11, ServiceRead, 0x01, 1, 5),
         AssembleObjectFrame(11, Response, ServiceRead, 0x01, 1, 5, text)},
        {"shorter text", HostRequest(12, ServiceWrite, 0x01, 1, 5, {'H', 'i'}),
         AssembleObjectFrame(12, Response, ServiceWrite, 0x01, 1, 5)},
        {"text padded", HostRequest(13, ServiceRead, 0x01, 1, 5),
         AssembleObjectFrame(13, Response, ServiceRead, 0x01, 1, 5, padded)},
        {"read-only read", HostRequest(14, ServiceRead, 0x01, 2, 1),
         AssembleObjectFrame(14, Response, ServiceRead, 0x01, 2, 1, {0x00, 0x2A})},
    };
    ModuleModel model = ReadyModel();
    for (const RequestCase& c : cases)
        EXPECT_EQ(AnswerTo(model, c.request), c.answer) << c.name;
    EXPECT_TRUE(model.Online());
}

TEST(ModuleModelTest, RefusedRequestsGetAnErrorFrameWithACode)
{
    struct Case {
        const char* name;
        Bytes request;
        ModuleError error;
    };
    const Case cases[] = {
        {"unknown object", HostRequest(1, ServiceRead, 0x7F, 1, 1), ModuleError::UnknownObject},
        {"unknown instance", HostRequest(1, ServiceRead, 0x01, 9, 1), ModuleError::UnknownInstance},
        {"unknown attribute", HostRequest(1, ServiceRead, 0x01, 1, 99), ModuleError::UnknownAttribute},
        {"read-only", HostRequest(1, ServiceWrite, 0x01, 2, 1, {0x00, 0x01}), ModuleError::ReadOnly},
        {"identity is read-only", HostRequest(1, ServiceWrite, 0x00, 1, 0, {0x01}), ModuleError::ReadOnly},
        {"too few bytes", HostRequest(1, ServiceWrite, 0x01, 1, 2, {0x01}), ModuleError::WrongSize},
        {"too many bytes", HostRequest(1, ServiceWrite, 0x01, 1, 1, {0x01, 0x02}), ModuleError::WrongSize},
        {"empty text", HostRequest(1, ServiceWrite, 0x01, 1, 5), ModuleError::WrongSize},
        {"text too long", HostRequest(1, ServiceWrite, 0x01, 1, 5, Bytes(21, 'x')), ModuleError::WrongSize},
        {"bus address 0", HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x00}), ModuleError::OutOfRange},
        {"bus address 127", HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x7F}), ModuleError::OutOfRange},
        {"bus address 2 bytes", HostRequest(1, ServiceWrite, 0x03, 1, 1, {0, 5}), ModuleError::WrongSize},
        {"on line 2", HostRequest(1, ServiceWrite, 0x00, 2, 0, {0x02}), ModuleError::OutOfRange},
        {"service 3", HostRequest(1, 3, 0x01, 1, 1), ModuleError::UnsupportedService},
    };
    ModuleModel model = ReadyModel();
    for (const Case& c : cases) {
        const Bytes answer = AnswerTo(model, c.request);
        ASSERT_EQ(answer.size(), 13u) << c.name;
        EXPECT_EQ(answer[ModuleFrame::FrameType], ErrorAnswer) << c.name;
        EXPECT_TRUE(std::equal(answer.begin() + 4, answer.begin() + 10, c.request.begin() + 4)) << c.name;
        EXPECT_EQ(answer[ModuleFrame::Data], static_cast<std::uint8_t>(c.error)) << c.name;
        EXPECT_TRUE(CrcCloses(answer)) << c.name;
    }
    EXPECT_EQ(model.BusAddress(), 0);
    EXPECT_FALSE(model.Online());
}

TEST(ModuleModelTest, ModuleInformationAnswersCarryTheIdentityAtItsOffsets)
{
    ModuleOptions options;
    options.networkType = "ABCDEFGHIJKLMNOPQRST"; // exactly 20 bytes: no terminating zero
    options.productType = "Unit 7";
    options.serialNumber = 0xFFFFFFFFu;
    options.productionDate = {0x20, 0x13, 0x08, 0x13};
    options.hardwareMajor = 256;
    options.hardwareMinor = 10;
    options.firmwareMajor = 1;
    options.firmwareMinor = 2;
    ModuleModel model = ReadyModel(options);

    const Bytes first = AnswerTo(model, HostRequest(5, ServiceRead, 0x02, 1, 0));
    ASSERT_EQ(first.size(), 38u);
    EXPECT_EQ(first[ModuleFrame::FrameType], Response);
    EXPECT_EQ(std::string(first.begin() + 10, first.begin() + 30), options.networkType);
    EXPECT_EQ(Bytes(first.begin() + 30, first.begin() + 36), Bytes(6, 0));

    const Bytes second = AnswerTo(model, HostRequest(6, ServiceRead, 0x00, 1, 0));
    ASSERT_EQ(second.size(), 48u);
    EXPECT_EQ(second[ModuleFrame::Sequence], 6);
    EXPECT_EQ(std::string(second.begin() + 10, second.begin() + 16), "Unit 7");
    EXPECT_EQ(Bytes(second.begin() + 16, second.begin() + 30), Bytes(14, 0));
    const Bytes tail(second.begin() + 30, second.begin() + 46);
    EXPECT_EQ(tail, (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0x13, 0x08, 0x13, 0x01, 0x00, 0x00, 0x0A, 0x00, 0x01, 0x00,
                           0x02}));
    EXPECT_TRUE(CrcCloses(second));
}

TEST(ModuleModelTest, FirstInformationAnswerLengthIsAnOption)
{
    ModuleOptions options;
    options.info1Length = 43;
    ModuleModel model = ReadyModel(options);
    const Bytes first = AnswerTo(model, HostRequest(5, ServiceRead, 0x02, 1, 0));
    EXPECT_EQ(first.size(), 43u);
    EXPECT_EQ(ReadBigEndian16(&first[ModuleFrame::Length]), 37);
}

TEST(ModuleModelTest, CollectsFramesByLengthAcrossAndWithinChunks)
{
    ModuleModel model = ReadyModel();
    const Bytes a = HostRequest(1, ServiceRead, 0x01, 1, 1);
    const Bytes b = HostRequest(2, ServiceRead, 0x01, 1, 3);
    EXPECT_TRUE(model.Receive(Bytes(a.begin(), a.begin() + 3), AnyBaud).empty());
    EXPECT_TRUE(model.Receive(Bytes(a.begin() + 3, a.begin() + 7), AnyBaud).empty());
    EXPECT_TRUE(model.HasPartialFrame());
    Bytes rest(a.begin() + 7, a.end());
    rest.insert(rest.end(), b.begin(), b.end());
    const std::vector<Bytes> answers = model.Receive(rest, AnyBaud);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0][ModuleFrame::Sequence], 1);
    EXPECT_EQ(answers[1][ModuleFrame::Sequence], 2);
    EXPECT_FALSE(model.HasPartialFrame());
}

TEST(ModuleModelTest, DropsBadFramesAndServesTheNextOne)
{
    Bytes badCrc = HostRequest(1, ServiceRead, 0x01, 1, 1);
    badCrc.back() ^= 0x01;
    Bytes unknownType = HostRequest(1, ServiceRead, 0x01, 1, 1);
    unknownType[ModuleFrame::FrameType] = 7;
    const Bytes tooLong = {0x01, 0x01, 0x00, 0xFB, 0x01, 0x01};
    const Bytes huge = {0x01, 0x00, 0xFF, 0xFF};
    Bytes shortObject = AssembleFrame(1, Request, Bytes{0x01, 0x01, 0x00});

    for (const Bytes& bad : {badCrc, unknownType, tooLong, huge, shortObject}) {
        ModuleModel model = ReadyModel();
        EXPECT_TRUE(model.Receive(bad, AnyBaud).empty()) << BytesToHexText(bad, 1);
        model.DropPartialFrame();
        EXPECT_FALSE(model.TakeNotes().empty()) << BytesToHexText(bad, 1);
        EXPECT_EQ(model.Receive(HostRequest(2, ServiceRead, 0x01, 1, 1), AnyBaud).size(), 1u)
            << BytesToHexText(bad, 1);
    }
}

TEST(ModuleModelTest, TruncatedFrameIsDroppedWhenTheLineGoesIdle)
{
    ModuleModel model = ReadyModel();
    const Bytes frame = HostRequest(1, ServiceRead, 0x01, 1, 1);
    model.Receive(Bytes(frame.begin(), frame.begin() + 8), AnyBaud);
    ASSERT_TRUE(model.HasPartialFrame());
    model.DropPartialFrame();
    EXPECT_FALSE(model.HasPartialFrame());
    EXPECT_EQ(model.Receive(frame, AnyBaud).size(), 1u);
}

TEST(ModuleModelTest, CyclicAnswersMoveEveryCycleAndEchoTheWriteData)
{
    ModuleOptions options;
    options.readLength = 6;
    ModuleModel model = ReadyModel(options);
    const Bytes first = AnswerTo(model, AssembleFrame(9, IoData, Bytes{0xA1, 0xA2}));
    EXPECT_EQ(first, AssembleFrame(9, IoData, Bytes{0x01, 0xA1, 0xA2, 0x04, 0x05, 0x06}));
    const Bytes second = AnswerTo(model, AssembleFrame(10, IoData, Bytes{}));
    EXPECT_EQ(second, AssembleFrame(10, IoData, Bytes{0x02, 0x03, 0x04, 0x05, 0x06, 0x07}));

    options.readLength = 0;
    ModuleModel empty = ReadyModel(options);
    EXPECT_EQ(AnswerTo(empty, AssembleFrame(1, IoData, Bytes{1, 2, 3})), AssembleFrame(1, IoData, Bytes{}));
}

TEST(ModuleModelTest, OnLineCyclesCarryConfigurationAndParameterRequests)
{
    ModuleOptions options;
    options.configData = {0x01, 0x02, 0x03};
    options.paramData = {0x0A};
    ModuleModel model = ReadyModel(options);
    // Off line: only I/O data.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(AnswerTo(model, AssembleFrame(1, IoData, Bytes{}))[ModuleFrame::FrameType], IoData);
    GoOnline(model);

    std::vector<Bytes> answers;
    for (int i = 0; i < 6; ++i)
        answers.push_back(AnswerTo(model, AssembleFrame(static_cast<std::uint8_t>(i), IoData, Bytes{})));
    for (int i : {0, 1, 3, 5})
        EXPECT_EQ(answers[i][ModuleFrame::FrameType], IoData) << i;
    EXPECT_EQ(answers[2], AssembleObjectFrame(1, Request, ServiceWrite, 0xF0, 2, 1, {0x01, 0x02, 0x03}));
    EXPECT_EQ(answers[4], AssembleObjectFrame(2, Request, ServiceWrite, 0xF0, 3, 1, {0x0A}));

    // The host's echo of a configuration request is acknowledged.
    Bytes echo = answers[2];
    echo[ModuleFrame::Sequence] = 0x40;
    echo[ModuleFrame::FrameType] = Response;
    PlaceCrc(echo.data(), echo.size() - ModuleFrame::Overhead);
    EXPECT_EQ(AnswerTo(model, echo), AssembleObjectFrame(0x40, Response, ServiceWrite, 0xF0, 2, 1));

    // Going on line again brings the requests again.
    AnswerTo(model, HostRequest(3, ServiceWrite, 0x00, 2, 0, {0x01}));
    AnswerTo(model, AssembleFrame(1, IoData, Bytes{}));
    AnswerTo(model, AssembleFrame(1, IoData, Bytes{}));
    EXPECT_EQ(AnswerTo(model, AssembleFrame(1, IoData, Bytes{}))[ModuleFrame::ObjectCode], 0xF0);
}

TEST(ModuleModelTest, NamesApplicationDataObjectsInTurnAndAcknowledgesTheHostsWrite)
{
    ModuleOptions options;
    options.configAt = 0;
    options.paramAt = 0;
    options.adiEvery = 2;
    options.adiList = {{1, 2}, {300, 4}};
    ModuleModel model = ReadyModel(options);
    GoOnline(model);
    std::vector<Bytes> named;
    for (int i = 1; i <= 6; ++i) {
        const Bytes answer = AnswerTo(model, AssembleFrame(1, IoData, Bytes{}));
        if (i % 2 == 1)
            EXPECT_EQ(answer[ModuleFrame::FrameType], IoData);
        else
            named.push_back(answer);
    }
    ASSERT_EQ(named.size(), 3u);
    EXPECT_EQ(named[0], AssembleObjectFrame(1, Response, ServiceRead, 0xF1, 1, 2));
    EXPECT_EQ(named[1], AssembleObjectFrame(2, Response, ServiceRead, 0xF1, 300, 4));
    EXPECT_EQ(named[2], AssembleObjectFrame(3, Response, ServiceRead, 0xF1, 1, 2));

    EXPECT_EQ(AnswerTo(model, HostRequest(7, ServiceWrite, 0xF1, 1, 2, {0x0A, 0x0B})),
              AssembleObjectFrame(7, Response, ServiceWrite, 0xF1, 1, 2));
}

TEST(ModuleModelTest, RepeatsConfigurationAndParameterRequestsInTurn)
{
    ModuleOptions options;
    options.configAt = 0;
    options.paramAt = 0;
    options.configEvery = 2;
    ModuleModel model = ReadyModel(options);
    GoOnline(model);
    std::vector<int> instances;
    for (int i = 1; i <= 8; ++i) {
        const Bytes answer = AnswerTo(model, AssembleFrame(1, IoData, Bytes{}));
        if (answer[ModuleFrame::FrameType] == Request)
            instances.push_back(ReadBigEndian16(&answer[ModuleFrame::InstanceCode]));
    }
    EXPECT_EQ(instances, (std::vector<int>{2, 3, 2, 3}));
}

TEST(ModuleModelTest, ScenariosLeaveChosenRequestsUnanswered)
{
    const Bytes busAddress = HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x05});
    const Bytes online = HostRequest(2, ServiceWrite, 0x00, 2, 0, {0x01});
    const Bytes info1 = HostRequest(3, ServiceRead, 0x02, 1, 0);
    const Bytes info2 = HostRequest(4, ServiceRead, 0x00, 1, 0);
    const Bytes object = HostRequest(5, ServiceRead, 0x01, 1, 1);
    const Bytes io = AssembleFrame(6, IoData, Bytes{});
    struct Case {
        AnswerKind kind;
        const Bytes& silenced;
    };
    for (const Case& c : {Case{AnswerKind::BusAddress, busAddress}, Case{AnswerKind::Online, online},
                          Case{AnswerKind::Info1, info1}, Case{AnswerKind::Info2, info2},
                          Case{AnswerKind::Object, object}, Case{AnswerKind::Io, io}}) {
        ModuleOptions options;
        options.noAnswer = {c.kind};
        ModuleModel model = ReadyModel(options);
        for (const Bytes* frame : {&busAddress, &online, &info1, &info2, &object, &io}) {
            const std::size_t expected = frame == &c.silenced ? 0 : 1;
            EXPECT_EQ(model.Receive(*frame, AnyBaud).size(), expected) << BytesToHexText(*frame, 1);
        }
    }
}

// Against a plain module only the chosen kind's answer differs, in the scenario's way, and a refused request
// takes no effect. Every answer names the kind of request it belongs to.
TEST(ModuleModelTest, ScenariosRefuseOrDamageOnlyTheChosenKindsAnswers)
{
    const Bytes frames[] = {HostRequest(1, ServiceWrite, 0x03, 1, 1, {5}), HostRequest(2, ServiceWrite, 0, 2, 0, {1}),
                            HostRequest(3, ServiceRead, 0x02, 1, 0), HostRequest(4, ServiceRead, 0x00, 1, 0),
                            HostRequest(5, ServiceRead, 0x01, 1, 1), AssembleFrame(6, IoData, Bytes{0x11})};
    const AnswerKind kinds[] = {AnswerKind::BusAddress, AnswerKind::Online, AnswerKind::Info1,
                                AnswerKind::Info2, AnswerKind::Object, AnswerKind::Io};
    for (auto scenario : {&ModuleOptions::errorAnswer, &ModuleOptions::badCrc, &ModuleOptions::shortAnswer}) {
        for (std::size_t chosen = 0; chosen < std::size(kinds); ++chosen) {
            ModuleOptions options;
            options.*scenario = {kinds[chosen]};
            options.shortBytes = 2;
            ModuleModel plain = ReadyModel();
            ModuleModel model = ReadyModel(options);
            for (std::size_t i = 0; i < std::size(frames); ++i) {
                const Bytes& f = frames[i];
                Bytes expected = AnswerTo(plain, f);
                Bytes refusal = i == 5 ? Bytes(6, 0) : Bytes(f.begin() + 4, f.begin() + 10); // no object header
                refusal.push_back(static_cast<std::uint8_t>(ScenarioRefusal));
                if (i == chosen && scenario == &ModuleOptions::errorAnswer)
                    expected = AssembleFrame(f[ModuleFrame::Sequence], ErrorAnswer, refusal);
                else if (i == chosen && scenario == &ModuleOptions::badCrc)
                    expected.back() ^= 0xFF;
                else if (i == chosen)
                    expected.resize(2);
                const std::vector<ModuleAnswer> answers = model.ReceiveAnswers(f.data(), f.size(), AnyBaud);
                ASSERT_EQ(answers.size(), 1u);
                EXPECT_EQ(answers[0].bytes, expected) << chosen << " " << i;
                EXPECT_EQ(answers[0].kind, kinds[i]);
            }
            const bool refused = scenario == &ModuleOptions::errorAnswer;
            EXPECT_EQ(model.BusAddress(), refused && chosen == 0 ? 0 : 5);
            EXPECT_EQ(model.Online(), !(refused && chosen == 1));
        }
    }
}

TEST(ModuleModelTest, SilentModesAnswerNothing)
{
    ModuleOptions options;
    options.silent = true;
    ModuleModel silent(options);
    EXPECT_TRUE(silent.Receive({0x55, 0x55}, AnyBaud).empty());
    EXPECT_TRUE(silent.Receive(HostRequest(1, ServiceRead, 0x01, 1, 1), AnyBaud).empty());

    options = {};
    options.silentAfter = 2;
    ModuleModel model = ReadyModel(options);
    const Bytes read = HostRequest(1, ServiceRead, 0x01, 1, 1);
    EXPECT_EQ(model.Receive(read, AnyBaud).size(), 1u);
    EXPECT_EQ(model.Receive(read, AnyBaud).size(), 1u);
    EXPECT_TRUE(model.Receive(read, AnyBaud).empty());
    EXPECT_EQ(model.Receive({0x55, 0x55}, AnyBaud).size(), 1u);

    options = {};
    options.probeAnswer = 0xAB;
    ModuleModel wrongProbe(options);
    EXPECT_EQ(wrongProbe.Receive({0x55, 0x55}, AnyBaud), std::vector<Bytes>{{0xAB}});
}

TEST(ModuleModelTest, BadLengthScenarioDeclaresAWrongLengthOverTheBytesSent)
{
    struct Case {
        BadLength badLength;
        std::uint16_t declared;
    };
    for (const Case& c : {Case{BadLength::Over, 7 + 64}, Case{BadLength::Huge, 0xFFFF}, Case{BadLength::Under, 3}}) {
        ModuleOptions options;
        options.badLength = c.badLength;
        ModuleModel model = ReadyModel(options);
        const Bytes answer = AnswerTo(model, HostRequest(1, ServiceRead, 0x01, 1, 1));
        ASSERT_EQ(answer.size(), 13u);
        EXPECT_EQ(ReadBigEndian16(&answer[ModuleFrame::Length]), c.declared);
        EXPECT_EQ(answer[ModuleFrame::Data], 0x05);
        EXPECT_TRUE(CrcCloses(answer));
    }
}

// Whatever the host sends, the module stays inside its buffers (the sanitizers watch) and keeps serving.
TEST(ModuleModelTest, SurvivesRandomBytes)
{
    std::mt19937 random(12345);
    for (OperatingMode mode : {OperatingMode::AutoBaud, OperatingMode::Uart9600}) {
        ModuleOptions options;
        options.mode = mode;
        options.adiEvery = 3;
        ModuleModel model(options);
        for (int round = 0; round < 3000; ++round) {
            Bytes chunk(random() % 300);
            for (std::uint8_t& byte : chunk)
                byte = static_cast<std::uint8_t>(random());
            if (round % 5 == 0 && chunk.size() > 3)
                chunk[1] = static_cast<std::uint8_t>(random() % 3); // plausible frame types, random lengths
            for (const Bytes& answer : model.Receive(chunk, 9600))
                EXPECT_TRUE(answer.size() == 1 || CrcCloses(answer));
            if (round % 7 == 0)
                model.DropPartialFrame();
            model.TakeNotes();
        }
        model.DropPartialFrame();
        model.Receive({0x55, 0x55}, 9600);
        EXPECT_EQ(model.Receive(HostRequest(1, ServiceRead, 0x01, 1, 1), 9600).size(), 1u);
    }
}

} // namespace
} // namespace trelmo

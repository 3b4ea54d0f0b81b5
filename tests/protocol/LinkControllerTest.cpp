// The link controller over the fake line: what goes out, and what the front end hears, in order and by count.

#include "LinkAwait.h"
#include "LinkController.h"

#include "FakeSerialBackend.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace trelmo;
using trelmo::fake::FakeSerialBackend;

namespace {

// A module that answers every request with its echo and every cyclic frame with two bytes of read data.
std::vector<Bytes> AnswerAsAModule(const Bytes& written)
{
    if (written.size() < ModuleFrame::Overhead)
        return {};
    if (written[ModuleFrame::FrameType] == IoData)
        return {AssembleFrame(0x70, IoData, Bytes{0x11, 0x22})};
    const Bytes body(written.begin() + ModuleFrame::HeaderSize, written.end() - 2);
    return {AssembleFrame(0x71, Response, body)};
}

class LinkControllerTest : public ::testing::Test {
protected:
    LinkControllerTest()
    {
        auto owned = std::make_unique<FakeSerialBackend>();
        backend = owned.get();
        backend->SetResponder(AnswerAsAModule);
        link = std::make_unique<LinkController>(std::move(owned));
        link->SetWaitFunction(backend->WaitHook());
        QObject::connect(link.get(), &LinkController::CycleInputWanted, &frontEnd,
                         [this](RequestId cycle) { wanted.push_back(cycle); });
        QObject::connect(link.get(), &LinkController::CycleFinished, &frontEnd,
                         [this](const IoCycleOutcome& outcome) { finished.push_back(outcome); });
    }

    void Open()
    {
        ASSERT_EQ(AwaitLink(*link, &LinkController::PortOpened, [this] { link->OpenPort("fake", 115200); }),
                  PortOpenError::None);
    }
    void ConnectOnline()
    {
        ASSERT_NO_FATAL_FAILURE(Open());
        const ConnectionResult result = AwaitLink(*link, &LinkController::ConnectionFinished, [this] {
            link->Connect(OperatingMode::Uart115200, 5, true);
        });
        ASSERT_EQ(result.step, ConnectionOutcome::Online);
    }
    // Everything asked before has run once the link has answered this.
    void Settle()
    {
        AwaitRequest(*link, &LinkController::ModuleInfoRead, [this] { return link->ReadModuleInfo(); });
    }

    QObject frontEnd;
    FakeSerialBackend* backend = nullptr; // owned by the link; touched only while the link waits for the test
    std::unique_ptr<LinkController> link;
    std::vector<RequestId> wanted;
    std::vector<IoCycleOutcome> finished;
};

TEST_F(LinkControllerTest, EachCycleGoesOutWithTheInputItAskedForAndDisconnectEndsThem)
{
    ASSERT_NO_FATAL_FAILURE(ConnectOnline());
    ASSERT_TRUE(QTest::qWaitFor([this] { return wanted.size() == 1; }));
    EXPECT_EQ(backend->Writes().size(), 2u) << "bus address and on line; the cycle waits for its input";

    link->ProvideCycleInput(wanted[0] + 1, {Bytes{0x99}, {}}); // not the cycle asked for: ignored
    link->ProvideCycleInput(wanted[0], {Bytes{0x0A, 0x0B}, {}});
    ASSERT_TRUE(QTest::qWaitFor([this] { return finished.size() == 1; }));
    EXPECT_EQ(finished[0].answer, IoAnswerKind::ReadData);
    EXPECT_EQ(finished[0].data, (Bytes{0x11, 0x22}));
    EXPECT_FALSE(finished[0].linkLost);

    ASSERT_TRUE(QTest::qWaitFor([this] { return wanted.size() == 2; })) << "the next cycle is armed";
    AwaitLink(*link, &LinkController::Disconnected, [this] { link->Disconnect(); });
    link->ProvideCycleInput(wanted[1], {Bytes{0x0C}, {}}); // too late: the cycles have ended
    Settle();
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(finished.size(), 1u);
    ASSERT_EQ(backend->Writes().size(), 3u);
    EXPECT_EQ(backend->Writes()[2], AssembleFrame(3, IoData, Bytes{0x0A, 0x0B}));
}

TEST_F(LinkControllerTest, ALostPortEndsTheCyclesAndSaysSo)
{
    ASSERT_NO_FATAL_FAILURE(ConnectOnline());
    ASSERT_TRUE(QTest::qWaitFor([this] { return wanted.size() == 1; }));
    backend->FailAllWrites();
    link->ProvideCycleInput(wanted[0], {});
    ASSERT_TRUE(QTest::qWaitFor([this] { return finished.size() == 1; }));
    EXPECT_TRUE(finished[0].linkLost);
    EXPECT_EQ(finished[0].exchange, ExchangeOutcome::NotSent);
    Settle();
    EXPECT_FALSE(link->IsPortOpen());
    EXPECT_EQ(wanted.size(), 1u) << "no cycle after a lost link";
}

// A lost link with a port to reconnect to: once a second the port is opened again and the module brought on line,
// then the cycles go on with the front end's input; Disconnect ends the attempts.
TEST_F(LinkControllerTest, ALostLinkIsTakenUpAgainUntilDisconnect)
{
    bool reconnected = false;
    QObject::connect(link.get(), &LinkController::Reconnected, &frontEnd, [&reconnected] { reconnected = true; });
    link->SetReconnect(PortChoice{PortChoice::Kind::Path, QStringLiteral("fake")});
    ASSERT_NO_FATAL_FAILURE(ConnectOnline());
    ASSERT_TRUE(QTest::qWaitFor([this] { return wanted.size() == 1; }));
    backend->LoseDevice(); // the adapter is pulled while the cycle waits for its input
    link->ProvideCycleInput(wanted[0], {Bytes{0x0A}, {}});
    ASSERT_TRUE(QTest::qWaitFor([this] { return finished.size() == 1; }));
    EXPECT_TRUE(finished[0].linkLost);
    EXPECT_FALSE(link->IsPortOpen());

    ASSERT_TRUE(QTest::qWaitFor([&reconnected] { return reconnected; }, 5000));
    EXPECT_TRUE(link->IsPortOpen());
    ASSERT_TRUE(QTest::qWaitFor([this] { return wanted.size() == 2; })) << "the cycles resume";
    link->ProvideCycleInput(wanted[1], {Bytes{0x0A}, {}});
    ASSERT_TRUE(QTest::qWaitFor([this] { return finished.size() == 2; }));
    EXPECT_EQ(finished[1].answer, IoAnswerKind::ReadData);
    ASSERT_EQ(backend->Writes().size(), 5u);
    EXPECT_EQ(backend->Writes()[2][ModuleFrame::FrameType], Request) << "bus address again";
    EXPECT_EQ(backend->Writes()[3][ModuleFrame::FrameType], Request) << "on line again";
    EXPECT_EQ(backend->Writes()[4][ModuleFrame::FrameType], IoData);

    // Lost again, and Disconnect before the next attempt: the port is not opened any more.
    ASSERT_TRUE(QTest::qWaitFor([this] { return wanted.size() == 3; }));
    backend->LoseDevice();
    link->ProvideCycleInput(wanted[2], {});
    ASSERT_TRUE(QTest::qWaitFor([this] { return finished.size() == 3; }));
    AwaitLink(*link, &LinkController::Disconnected, [this] { link->Disconnect(); });
    const std::size_t opens = backend->Opens();
    QTest::qWait(1500);
    Settle();
    EXPECT_EQ(backend->Opens(), opens);
    EXPECT_FALSE(link->IsPortOpen());
}

// Four scripted cycles, one of each answer, with bytes waiting before the second: each is counted once, and a
// new Connect starts the counts afresh.
TEST_F(LinkControllerTest, StatisticsCountTheCyclesByTheirAnswerSinceConnect)
{
    Bytes broken = AssembleFrame(0x72, IoData, Bytes{0x11});
    broken.back() ^= 0xFF;
    const std::vector<Bytes> cycleAnswers = {AssembleFrame(0x70, IoData, Bytes{0x11}), Bytes{},
                                             AssembleFrame(0x71, ErrorAnswer, Bytes{0x07}), broken};
    std::size_t cyclesAnswered = 0; // touched by the responder, on the link's thread only
    backend->SetResponder([&](const Bytes& written) {
        if (written.size() < ModuleFrame::Overhead || written[ModuleFrame::FrameType] != IoData)
            return AnswerAsAModule(written);
        return std::vector<Bytes>{cycleAnswers[cyclesAnswered++ % cycleAnswers.size()]};
    });
    link->SetReceiveTiming(ReceiveTiming::Fast); // the next cycle is armed at once
    ASSERT_NO_FATAL_FAILURE(ConnectOnline());
    for (std::size_t cycle = 0; cycle < cycleAnswers.size(); ++cycle) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return wanted.size() == cycle + 1; }));
        if (cycle == 1)
            backend->Deliver(Bytes{0x5A, 0x5A, 0x5A}); // the link waits for this cycle's input meanwhile
        link->ProvideCycleInput(wanted[cycle], {});
        ASSERT_TRUE(QTest::qWaitFor([&] { return finished.size() == cycle + 1; }));
    }

    const LinkStatistics counted = link->Statistics();
    EXPECT_EQ(counted.cycles, 4u);
    EXPECT_EQ(counted.answered, 1u);
    EXPECT_EQ(counted.noAnswer, 1u);
    EXPECT_EQ(counted.errorAnswers, 1u);
    EXPECT_EQ(counted.brokenAnswers, 1u);
    EXPECT_EQ(counted.setAsideBytes, 3u);
    EXPECT_EQ(counted.periods, 3u) << "from each cycle's start to the next";
    EXPECT_LE(counted.lastPeriod, counted.slowestPeriod);
    EXPECT_LE(counted.MeanPeriod(), counted.slowestPeriod);

    AwaitLink(*link, &LinkController::Disconnected, [this] { link->Disconnect(); });
    ASSERT_NO_FATAL_FAILURE(ConnectOnline());
    const LinkStatistics afresh = link->Statistics();
    EXPECT_EQ(afresh.cycles, 0u);
    EXPECT_EQ(afresh.setAsideBytes, 0u);
    EXPECT_EQ(afresh.periods, 0u);
}

// Closing the window while the handshake runs: the link stops after the current probe instead of running it out.
TEST_F(LinkControllerTest, DestroyingTheLinkStopsARunningHandshake)
{
    backend->SetResponder({}); // a module that never answers
    link->SetSecondsClock([] { return 0L; }); // and a time limit that never passes
    ASSERT_NO_FATAL_FAILURE(Open());
    MessageLog::Reader probes(link->Log());
    bool connectionEnded = false;
    QObject::connect(link.get(), &LinkController::ConnectionFinished, &frontEnd,
                     [&connectionEnded] { connectionEnded = true; });
    link->Connect(OperatingMode::AutoBaud, 1, true);
    std::size_t logged = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (logged += probes.TakeAll().size()) >= 4; }));

    link.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(connectionEnded);
}

} // namespace

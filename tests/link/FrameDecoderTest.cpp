// The decoder of frame-log lines over every kind of frame, broken frames and the handshake's lines; tshark with the
// project's dissector must decode the same lines alike wherever both decode a field.

#include "FrameDecoder.h"

#include "FakeSerialBackend.h"
#include "HexText.h"
#include "LoggedExchange.h"
#include "Tshark.h"
#include "WireBytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

struct Case {
    const char* name;
    int direction; // 1 sent, 0 received
    Bytes bytes;
    LineKind kind;
    const char* fields; // length|service|object|instance|attribute|data
    CrcState crc;
};

using K = LineKind;
using C = CrcState;
const Bytes Response9 = AssembleObjectFrame(9, Response, ServiceRead, 0xF1, 258, 3, {0xAB});
const Case Cases[] = {
    {"request", 1, AssembleObjectFrame(1, Request, ServiceWrite, 3, 1, 1, {0x7E}), K::Request, "7|2|0x03|1|1|7e",
     C::Ok},
    {"response", 0, Response9, K::Response, "7|1|0xf1|258|3|ab", C::Ok},
    {"error answer", 0, AssembleObjectFrame(4, ErrorAnswer, 1, 0, 0, 0, {5}), K::ErrorAnswer, "7|1|0x00|0|0|05", C::Ok},
    {"I/O data", 1, AssembleFrame(7, IoData, Hex("11 22")), K::IoData, "2|||||11 22", C::Ok},
    {"unknown type", 0, AssembleFrame(5, 7, Hex("01 F1 01 02 00 03 AA")), K::Unknown, "7|||||01 f1 01 02 00 03 aa",
     C::Ok},
    {"bytes after the frame", 0, Joined({AssembleFrame(7, IoData, Hex("11")), Hex("99")}), K::IoData, "1|||||11",
     C::Ok},
    {"bad CRC", 0, WithFlippedCrc(Response9), K::Response, "7|1|0xf1|258|3|ab", C::Bad},
    {"Length below the object header", 0, WithCrc(Hex("05 02 00 02 01 F1")), K::Response, "2|||||01 f1", C::Ok},
    {"Length beyond arrival", 0, Hex("02 02 00 0A 01 F1 01 02 00 03 0A FF"), K::Response, "10|1|0xf1|258|3|0a ff",
     C::CutShort},
    {"object header cut", 0, Hex("02 02 FF FF 01 F1"), K::Response, "65535|||||", C::CutShort},
    {"shorter than a header", 0, Hex("02 02 00"), K::Response, "|||||", C::CutShort},
    {"probe bytes received", 0, Hex("55 55"), K::Unknown, "|||||", C::CutShort},
    {"baud-rate probe", 1, Hex("55 55"), K::BaudRateProbe, "|||||", C::None},
    {"probe answer", 0, Hex("AA"), K::ProbeAnswer, "|||||", C::None},
    {"no bytes", 0, {}, K::NoBytes, "|||||", C::None},
};

// As tshark prints the dissector's fields: frame type ("?" for one the decoder does not know), length, service,
// object, instance, attribute, data, CRC good.
QStringList DissectorFields(const DecodedLine& d)
{
    static const std::map<LineKind, QString> types{
        {K::IoData, "0"}, {K::Request, "1"}, {K::Response, "2"}, {K::ErrorAnswer, "3"}};
    const auto type = types.find(d.kind);
    const auto number = [](auto value) { return QString::number(value); };
    const auto& h = d.objectHeader;
    return {type == types.end() ? "?" : type->second, d.length ? number(*d.length) : "",
            h ? number(h->service) : "", h ? QString::asprintf("0x%02x", h->address.object) : "",
            h ? number(h->address.instance) : "", h ? number(h->address.attribute) : "",
            QString::fromStdString(HexPairsText(d.data, HexCase::Lower)).trimmed(),
            d.crc == C::Ok ? "1" : d.crc == C::Bad ? "0" : ""};
}

TEST(FrameDecoderTest, Table)
{
    setenv("TZ", "CST-8", 1); // eight hours ahead of UTC
    for (const Case& c : Cases) {
        const DecodedLine d = DecodeLogEntry({BytesToHexText(c.bytes, c.direction), 1700017445007999});
        EXPECT_EQ(d.time, "11:04:05.007") << "local time, to the millisecond below";
        EXPECT_EQ(d.direction, c.direction ? LineDirection::Sent : LineDirection::Received) << c.name;
        EXPECT_EQ(d.kind, c.kind) << c.name;
        EXPECT_EQ(DissectorFields(d).mid(1, 6).join('|').toStdString(), c.fields) << c.name;
        EXPECT_EQ(d.crc, c.crc) << c.name;
    }
}

TEST(FrameDecoderTest, OnlyBytesSetAsideBeforeARequestAreMarked)
{
    fake::FakeLink link;
    MessageLog log;
    MessageLog::Reader reader(log);
    link.backend->Deliver(Hex("AA"));
    link.backend->QueueArrival(Hex("AA"));
    SendLoggedFrame(link.port, log, Hex("55 55"));
    ReceiveLoggedAnswer(link.port, log);
    std::vector<bool> marks;
    for (const LogEntry& entry : reader.TakeAll())
        marks.push_back(DecodeLogEntry(entry).setAside);
    EXPECT_EQ(marks, (std::vector<bool>{true, false, false}));
}

TEST(FrameDecoderTest, AgreesWithTheDissectorOnEveryFieldBothDecode)
{
    if (!TsharkAvailable())
        GTEST_SKIP() << "tshark is not installed";
    QTemporaryDir dir;
    std::vector<LogEntry> entries;
    for (const Case& c : Cases)
        entries.push_back({BytesToHexText(c.bytes, c.direction), 0});
    ASSERT_TRUE(WriteLogCapture(dir.filePath("lines.pcapng").toStdString(), entries));
    const QStringList rows = TsharkFields(dir.filePath("lines.pcapng"),
                                          {"trelmo.frame_type", "trelmo.length", "trelmo.service", "trelmo.object",
                                           "trelmo.instance", "trelmo.attribute", "trelmo.data", "trelmo.crc.good",
                                           "trelmo.io_data"});
    ASSERT_EQ(rows.size(), static_cast<int>(entries.size())) << rows.join('\n').toStdString();
    for (int i = 0; i < rows.size(); ++i) {
        QStringList shown = rows[i].split('|');
        shown[6] += shown.takeLast(); // an I/O frame's data is a field of its own
        if (shown[0].toInt() > ErrorAnswer)
            shown[0] = "?";
        const QStringList decoded = DissectorFields(DecodeLogEntry(entries[i]));
        // Whether the CRC was checked compares too: the dissector checks it exactly when the frame arrived whole.
        for (int f = 0; f < decoded.size(); ++f) {
            if (!shown[f].isEmpty() || f == 7) {
                EXPECT_EQ(decoded[f].toStdString(), shown[f].toStdString()) << Cases[i].name << ", field " << f;
            }
        }
    }
}

} // namespace

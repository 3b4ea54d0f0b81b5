// The virtual module's command line.

#include "SimOptions.h"

#include <QCommandLineParser>

#include <gtest/gtest.h>

#include <tuple>

namespace trelmo {
namespace {

// Parses a command line; returns the error text (empty on success).
QString Parse(const QStringList& arguments, SimSettings& settings)
{
    QCommandLineParser parser;
    AddSimOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("trelmo-sim")} + arguments))
        return parser.errorText();
    QString error;
    if (!ReadSimOptions(parser, settings, &error) && error.isEmpty())
        error = QStringLiteral("failed without a message");
    return error;
}

TEST(SimOptionsTest, DatesBecomeBcdBytes)
{
    using Date = std::array<std::uint8_t, 4>;
    EXPECT_EQ(ParseBcdDate(QStringLiteral("2013-08-13")), (Date{0x20, 0x13, 0x08, 0x13}));
    EXPECT_EQ(ParseBcdDate(QStringLiteral("1999-12-01")), (Date{0x19, 0x99, 0x12, 0x01}));
    for (const char* bad : {"2023-02-30", "2013-13-01", "2013-8-13", "13-08-2013", ""})
        EXPECT_FALSE(ParseBcdDate(QLatin1String(bad))) << bad;
}

TEST(SimOptionsTest, VersionsAndApplicationDataObjectLists)
{
    using Version = std::pair<std::uint16_t, std::uint16_t>;
    EXPECT_EQ(ParseVersion(QStringLiteral("256.10")), Version(256, 10));
    for (const char* bad : {"1", "1.2.3", "65536.0", "a.b", "1."})
        EXPECT_FALSE(ParseVersion(QLatin1String(bad))) << bad;
    const auto list = ParseAdiList(QStringLiteral("1:2,300:4"));
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{1, 2}, {300, 4}}));
    for (const char* bad : {"", "1", "1:2:3", "1:x", "70000:1"})
        EXPECT_FALSE(ParseAdiList(QLatin1String(bad))) << bad;
}

TEST(SimOptionsTest, ReadsEveryKindOfOption)
{
    SimSettings s;
    const QString error = Parse({"--mode", "115200", "--name", "bench-2", "--read-length", "250", "--serial",
                                 "4294967295", "--date", "2013-08-13", "--hw-version", "1.2", "--fw-version", "3.4",
                                 "--network-type", "Net", "--config-data", "01 02", "--adi-every", "4", "--adi-list",
                                 "2:3", "--no-answer", "busaddress,info2", "--no-answer", "io", "--probe-answer",
                                 "AB", "--delay-ms", "80", "--split-ms", "30", "--split-at", "20", "--hangup-after",
                                 "2", "--bad-length", "under", "--info1-length", "43", "--silent-after", "3",
                                 "--error-answer", "online", "--bad-crc", "ack,object", "--short-answer", "io",
                                 "--short-bytes", "1", "--late-kinds", "info1", "--late-ms", "700", "--flood-after",
                                 "0", "--flood-ms", "90"},
                                s);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const ModuleOptions& m = s.module;
    EXPECT_EQ(m.mode, OperatingMode::Uart115200);
    EXPECT_EQ(s.name, QStringLiteral("bench-2"));
    EXPECT_EQ(m.readLength, 250u);
    EXPECT_EQ(m.serialNumber, 4294967295u);
    EXPECT_EQ(m.productionDate, (std::array<std::uint8_t, 4>{0x20, 0x13, 0x08, 0x13}));
    EXPECT_EQ(m.firmwareMajor, 3);
    EXPECT_EQ(m.firmwareMinor, 4);
    EXPECT_EQ(m.networkType, "Net");
    EXPECT_EQ(m.configData, (Bytes{0x01, 0x02}));
    EXPECT_EQ(m.adiEvery, 4);
    EXPECT_EQ(m.noAnswer, (std::set<AnswerKind>{AnswerKind::BusAddress, AnswerKind::Info2, AnswerKind::Io}));
    EXPECT_EQ(m.probeAnswer, 0xAB);
    EXPECT_EQ(m.badLength, BadLength::Under);
    EXPECT_EQ(m.info1Length, 43u);
    EXPECT_EQ(m.silentAfter, 3);
    EXPECT_EQ(s.delayMs, 80);
    EXPECT_EQ(s.splitMs, 30);
    EXPECT_EQ(s.splitAt, 20);
    EXPECT_EQ(s.hangupAfter, 2);
    using Kinds = std::vector<std::set<AnswerKind>>;
    EXPECT_EQ((Kinds{m.errorAnswer, m.badCrc, m.shortAnswer, s.lateKinds}),
              (Kinds{{AnswerKind::Online}, {AnswerKind::Ack, AnswerKind::Object}, {AnswerKind::Io},
                     {AnswerKind::Info1}}));
    EXPECT_EQ(std::make_tuple(m.shortBytes, s.lateMs, s.floodAfter, s.floodMs), std::make_tuple(1u, 700, 0, 90));
}

TEST(SimOptionsTest, RefusesBadValues)
{
    const QStringList bad[] = {
        {"--mode", "19200"},
        {"--read-length", "251"},
        {"--serial", "4294967296"},
        {"--serial", "-1"},
        {"--date", "2023-02-30"},
        {"--network-type", "123456789012345678901"},
        {"--config-data", QString(243 * 3, QLatin1Char(' ')).replace(QLatin1String("   "), QLatin1String("01 "))},
        {"--no-answer", "everything"},
        {"--error-answer", "online,probe"},
        {"--short-bytes", "0"},
        {"--probe-answer", "AA BB"},
        {"--bad-length", "sideways"},
        {"--name", "../escape"},
        {"--name", ".hidden"},
        {"--name", "x\n"},
        {"--info1-length", "11"},
        {"--delay-ms", "soon"},
        {"--unknown-option"},
        {"positional"},
    };
    for (const QStringList& arguments : bad) {
        SimSettings s;
        EXPECT_FALSE(Parse(arguments, s).isEmpty()) << arguments.join(QLatin1Char(' ')).left(60).toStdString();
    }
}

} // namespace
} // namespace trelmo

#include "SimOptions.h"

#include "HexText.h"

#include <QCommandLineParser>
#include <QDate>
#include <QRegularExpression>

namespace trelmo {
namespace {

struct OptionText {
    const char* name;
    const char* description;
    const char* valueName; // nullptr for a flag
};

const OptionText Options[] = {
    {"mode", "Line speed: auto (0x55 0x55 / 0xAA handshake), 9600 or 115200 (frames served only while the "
             "host's line runs at that speed). Default: auto.", "auto|9600|115200"},
    {"name", "Name of the registry link <private folder>/ports/<name>; one module per name. Default: sim0.", "name"},
    {"log", "Traffic log: one line per chunk received (\"1 ...\") and per write sent (\"0 ...\").", "file"},
    {"read-length", "Bytes of I/O read data in each cyclic answer, 0 to 250. Default: 16.", "n"},
    {"network-type", "Network type text, at most 20 bytes.", "text"},
    {"product-type", "Product type text, at most 20 bytes.", "text"},
    {"serial", "Serial number, decimal, 0 to 4294967295. Default: 123456.", "n"},
    {"date", "Production date, sent as BCD bytes (2013-08-13 -> 20 13 08 13). Default: 2023-06-15.",
     "YYYY-MM-DD"},
    {"date-bytes", "Production date as four raw hex bytes, for example \"20 05 01 0A\".", "hex"},
    {"hw-version", "Hardware version. Default: 1.2.", "M.m"},
    {"fw-version", "Firmware version. Default: 2.10.", "M.m"},
    {"info1-length", "Whole answer to the network-type read in bytes, 12 to 254. Default: 38.", "n"},
    {"config-data", "Configuration data the module sends (object 0xF0 instance 2), hex bytes.", "hex"},
    {"param-data", "Parameter data the module sends (object 0xF0 instance 3), hex bytes.", "hex"},
    {"config-at", "On-line cyclic frame answered by the configuration request; 0 = never. Default: 3.", "n"},
    {"param-at", "On-line cyclic frame answered by the parameter request; 0 = never. Default: 5.", "n"},
    {"config-every", "Every N-th on-line cyclic frame is answered by the configuration or the parameter "
                     "request, in turn; 0 = never. Default: 0.", "n"},
    {"adi-every", "Every N-th on-line cyclic frame is answered by a frame naming an application data "
                  "object; 0 = never. Default: 0.", "n"},
    {"adi-list", "Application data objects named in turn. Default: 1:1.", "inst:attr,..."},
    {"silent", "Scenario: answer nothing.", nullptr},
    {"silent-after", "Scenario: answer only the first N frames.", "n"},
    {"no-answer", "Scenario: leave these requests unanswered: busaddress, online, info1, info2, object, io, "
                  "ack.", "kinds"},
    {"error-answer", "Scenario: refuse these requests (kinds as for --no-answer) with an error frame "
                     "(FrameType 3, code 07) that echoes the request's object codes (zeros for io); the request "
                     "takes no effect.", "kinds"},
    {"bad-crc", "Scenario: the answers to these requests (kinds as for --no-answer) carry a wrong CRC (last byte "
                "inverted).", "kinds"},
    {"short-answer", "Scenario: the answers to these requests (kinds as for --no-answer) are cut to their first "
                     "--short-bytes bytes.", "kinds"},
    {"short-bytes", "Bytes left of each answer cut by --short-answer, 1 to 253. Default: 3.", "n"},
    {"late-kinds", "Scenario: send the answers to these requests (kinds as for --no-answer) --late-ms late, other "
                   "answers on time.", "kinds"},
    {"late-ms", "Delay of the answers chosen by --late-kinds, in milliseconds. Default: 400.", "ms"},
    {"flood-after", "Scenario: after answering N frames, send junk bytes (5A) as fast as the line takes them for "
                    "--flood-ms, reading but not answering the host meanwhile; then serve again.", "n"},
    {"flood-ms", "Length of the --flood-after stream in milliseconds. Default: 500.", "ms"},
    {"probe-answer", "Scenario: answer each probe with this byte instead of AA.", "hex"},
    {"delay-ms", "Scenario: send every answer this many milliseconds late.", "ms"},
    {"io-delay-ms", "Scenario: send I/O data answers this many milliseconds late (other answers on time).", "ms"},
    {"split-ms", "Scenario: send every frame answer in two writes with this pause between.", "ms"},
    {"split-at", "Bytes in the first of the two writes of --split-ms. Default: half the answer.", "n"},
    {"hangup-after", "Scenario: after answering N frames, hang up the line at the host's next bytes and end.",
     "n"},
    {"bad-length", "Scenario: answers declare a wrong Length: over (64 more than sent), huge (65535) or "
                   "under (3).", "over|huge|under"},
    {"wire", "Behave like a UART at the host's line speed: each byte sent takes 10 bit times, and a request is "
             "answered only once its own bytes would have crossed the line since its first byte came.", nullptr},
    {"exit-with-parent", "End when the process that started the module ends.", nullptr},
};

bool ReadInt(const QCommandLineParser& parser, const char* name, int low, int high, int& value, QString* error)
{
    if (!parser.isSet(QLatin1String(name)))
        return true;
    bool ok = false;
    const int read = parser.value(QLatin1String(name)).toInt(&ok);
    if (!ok || read < low || read > high) {
        *error = QStringLiteral("--%1 takes a number from %2 to %3").arg(QLatin1String(name)).arg(low).arg(high);
        return false;
    }
    value = read;
    return true;
}

bool ReadText(const QCommandLineParser& parser, const char* name, std::string& value, QString* error)
{
    if (!parser.isSet(QLatin1String(name)))
        return true;
    const QByteArray bytes = parser.value(QLatin1String(name)).toUtf8();
    if (static_cast<std::size_t>(bytes.size()) > ModuleInfoReply::TextSize) {
        *error = QStringLiteral("--%1 takes at most 20 bytes").arg(QLatin1String(name));
        return false;
    }
    value = bytes.toStdString();
    return true;
}

bool ReadRequestData(const QCommandLineParser& parser, const char* name, Bytes& value, QString* error)
{
    if (!parser.isSet(QLatin1String(name)))
        return true;
    // The module's requests must fit the host's 254-byte receive buffer.
    const std::optional<Bytes> bytes = ParseHexDigitPairs(parser.value(QLatin1String(name)).toStdString());
    if (!bytes || bytes->size() > MaxObjectDataBytes) {
        *error = QStringLiteral("--%1 takes at most %2 hex bytes").arg(QLatin1String(name)).arg(MaxObjectDataBytes);
        return false;
    }
    value = *bytes;
    return true;
}

bool ReadVersion(const QCommandLineParser& parser, const char* name, std::uint16_t& major, std::uint16_t& minor,
                 QString* error)
{
    if (!parser.isSet(QLatin1String(name)))
        return true;
    const auto version = ParseVersion(parser.value(QLatin1String(name)));
    if (!version) {
        *error = QStringLiteral("--%1 takes M.m").arg(QLatin1String(name));
        return false;
    }
    major = version->first;
    minor = version->second;
    return true;
}

bool ReadMode(const QCommandLineParser& parser, OperatingMode& mode, QString* error)
{
    const QString text = parser.value(QStringLiteral("mode"));
    if (text.isEmpty() || text == QLatin1String("auto"))
        mode = OperatingMode::AutoBaud;
    else if (text == QLatin1String("9600"))
        mode = OperatingMode::Uart9600;
    else if (text == QLatin1String("115200"))
        mode = OperatingMode::Uart115200;
    else {
        *error = QStringLiteral("--mode takes auto, 9600 or 115200");
        return false;
    }
    return true;
}

// A list of request kinds ("busaddress,io"); the option may be given more than once.
bool ReadKinds(const QCommandLineParser& parser, const char* name, std::set<AnswerKind>& kinds, QString* error)
{
    static const std::pair<const char*, AnswerKind> names[] = {
        {"busaddress", AnswerKind::BusAddress}, {"online", AnswerKind::Online}, {"info1", AnswerKind::Info1},
        {"info2", AnswerKind::Info2}, {"object", AnswerKind::Object}, {"io", AnswerKind::Io},
        {"ack", AnswerKind::Ack}};
    const QStringList values = parser.values(QLatin1String(name));
    for (const QString& value : values) {
        for (const QString& word : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto found = std::find_if(std::begin(names), std::end(names),
                                            [&](const auto& n) { return word.trimmed() == QLatin1String(n.first); });
            if (found == std::end(names)) {
                *error = QStringLiteral("--%1: unknown kind %2").arg(QLatin1String(name), word);
                return false;
            }
            kinds.insert(found->second);
        }
    }
    return true;
}

bool ReadDate(const QCommandLineParser& parser, std::array<std::uint8_t, 4>& date, QString* error)
{
    if (parser.isSet(QStringLiteral("date"))) {
        const auto bcd = ParseBcdDate(parser.value(QStringLiteral("date")));
        if (!bcd) {
            *error = QStringLiteral("--date takes an existing date as YYYY-MM-DD");
            return false;
        }
        date = *bcd;
    }
    if (parser.isSet(QStringLiteral("date-bytes"))) {
        const auto bytes = ParseHexDigitPairs(parser.value(QStringLiteral("date-bytes")).toStdString());
        if (!bytes || bytes->size() != 4) {
            *error = QStringLiteral("--date-bytes takes four hex bytes");
            return false;
        }
        std::copy(bytes->begin(), bytes->end(), date.begin());
    }
    return true;
}

bool ReadScenarioBytes(const QCommandLineParser& parser, ModuleOptions& module, QString* error)
{
    if (parser.isSet(QStringLiteral("probe-answer"))) {
        const auto bytes = ParseHexDigitPairs(parser.value(QStringLiteral("probe-answer")).toStdString());
        if (!bytes || bytes->size() != 1) {
            *error = QStringLiteral("--probe-answer takes one hex byte");
            return false;
        }
        module.probeAnswer = (*bytes)[0];
    }
    if (parser.isSet(QStringLiteral("bad-length"))) {
        const QString value = parser.value(QStringLiteral("bad-length"));
        if (value == QLatin1String("over"))
            module.badLength = BadLength::Over;
        else if (value == QLatin1String("huge"))
            module.badLength = BadLength::Huge;
        else if (value == QLatin1String("under"))
            module.badLength = BadLength::Under;
        else {
            *error = QStringLiteral("--bad-length takes over, huge or under");
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("adi-list"))) {
        const auto list = ParseAdiList(parser.value(QStringLiteral("adi-list")));
        if (!list) {
            *error = QStringLiteral("--adi-list takes inst:attr pairs separated by commas");
            return false;
        }
        module.adiList = *list;
    }
    return true;
}

bool ReadModuleOptions(const QCommandLineParser& parser, ModuleOptions& m, QString* error)
{
    int readLength = static_cast<int>(m.readLength);
    int info1Length = static_cast<int>(m.info1Length);
    int shortBytes = static_cast<int>(m.shortBytes);
    bool ok = ReadMode(parser, m.mode, error)
        && ReadInt(parser, "read-length", 0, int(MaxIoDataLength), readLength, error)
        && ReadText(parser, "network-type", m.networkType, error)
        && ReadText(parser, "product-type", m.productType, error) && ReadDate(parser, m.productionDate, error)
        && ReadVersion(parser, "hw-version", m.hardwareMajor, m.hardwareMinor, error)
        && ReadVersion(parser, "fw-version", m.firmwareMajor, m.firmwareMinor, error)
        && ReadInt(parser, "info1-length", int(ModuleFrame::EmptyObjectFrameSize), int(ModuleFrame::BufferSize),
                   info1Length, error)
        && ReadRequestData(parser, "config-data", m.configData, error)
        && ReadRequestData(parser, "param-data", m.paramData, error)
        && ReadInt(parser, "config-at", 0, 1000000, m.configAt, error)
        && ReadInt(parser, "param-at", 0, 1000000, m.paramAt, error)
        && ReadInt(parser, "config-every", 0, 1000000, m.configEvery, error)
        && ReadInt(parser, "adi-every", 0, 1000000, m.adiEvery, error)
        && ReadInt(parser, "silent-after", 0, 1000000, m.silentAfter, error)
        && ReadKinds(parser, "no-answer", m.noAnswer, error) && ReadKinds(parser, "error-answer", m.errorAnswer, error)
        && ReadKinds(parser, "bad-crc", m.badCrc, error) && ReadKinds(parser, "short-answer", m.shortAnswer, error)
        && ReadInt(parser, "short-bytes", 1, 253, shortBytes, error) && ReadScenarioBytes(parser, m, error);
    if (!ok)
        return false;
    m.readLength = static_cast<std::size_t>(readLength);
    m.info1Length = static_cast<std::size_t>(info1Length);
    m.shortBytes = static_cast<std::size_t>(shortBytes);
    m.silent = parser.isSet(QStringLiteral("silent"));
    if (parser.isSet(QStringLiteral("serial"))) {
        const uint serial = parser.value(QStringLiteral("serial")).toUInt(&ok);
        if (!ok) {
            *error = QStringLiteral("--serial takes a number from 0 to 4294967295");
            return false;
        }
        m.serialNumber = serial;
    }
    return true;
}

std::optional<std::uint16_t> ParseUint16(const QString& text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok);
    if (!ok || value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

} // namespace

void AddSimOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Virtual module on a pseudo-terminal. Prints the device path of the terminal's slave side as the first "
        "line, serves until SIGINT or SIGTERM, and links <private folder>/ports/<name> to the device while it "
        "runs. The private folder is $XDG_RUNTIME_DIR/trelmo, or <temporary folder>/trelmo-<user id> where that "
        "variable names no folder of this user that only this user can write to. A module refuses to start while "
        "another of the same name runs."));
    parser.addHelpOption();
    for (const OptionText& option : Options) {
        if (option.valueName)
            parser.addOption({QLatin1String(option.name), QLatin1String(option.description),
                              QLatin1String(option.valueName)});
        else
            parser.addOption({QLatin1String(option.name), QLatin1String(option.description)});
    }
}

bool ReadSimOptions(const QCommandLineParser& parser, SimSettings& settings, QString* error)
{
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first());
        return false;
    }
    if (!ReadModuleOptions(parser, settings.module, error))
        return false;
    if (parser.isSet(QStringLiteral("name"))) {
        settings.name = parser.value(QStringLiteral("name"));
        // Anchored at the very end: '$' alone would let a trailing line break through.
        static const QRegularExpression safeName(
            QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9_.-]+")));
        if (!safeName.match(settings.name).hasMatch() || settings.name.startsWith(QLatin1Char('.'))) {
            *error = QStringLiteral("--name takes letters, digits, '_', '-' and '.', not first");
            return false;
        }
    }
    settings.logPath = parser.value(QStringLiteral("log"));
    settings.exitWithParent = parser.isSet(QStringLiteral("exit-with-parent"));
    settings.wire = parser.isSet(QStringLiteral("wire"));
    return ReadInt(parser, "delay-ms", 0, 60000, settings.delayMs, error)
        && ReadInt(parser, "io-delay-ms", 0, 60000, settings.ioDelayMs, error)
        && ReadInt(parser, "split-ms", 0, 60000, settings.splitMs, error)
        && ReadInt(parser, "split-at", 1, 1000, settings.splitAt, error)
        && ReadInt(parser, "hangup-after", 0, 1000000, settings.hangupAfter, error)
        && ReadKinds(parser, "late-kinds", settings.lateKinds, error)
        && ReadInt(parser, "late-ms", 0, 60000, settings.lateMs, error)
        && ReadInt(parser, "flood-after", 0, 1000000, settings.floodAfter, error)
        && ReadInt(parser, "flood-ms", 1, 60000, settings.floodMs, error);
}

std::optional<std::array<std::uint8_t, 4>> ParseBcdDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (!QDate(year, month, day).isValid())
        return std::nullopt;
    const auto bcd = [](int value) { return static_cast<std::uint8_t>((value / 10) << 4 | value % 10); };
    return std::array<std::uint8_t, 4>{bcd(year / 100), bcd(year % 100), bcd(month), bcd(day)};
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> ParseVersion(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 2)
        return std::nullopt;
    const auto major = ParseUint16(parts[0]);
    const auto minor = ParseUint16(parts[1]);
    if (!major || !minor)
        return std::nullopt;
    return std::make_pair(*major, *minor);
}

std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> ParseAdiList(const QString& text)
{
    std::vector<std::pair<std::uint16_t, std::uint16_t>> list;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(':'));
        if (parts.size() != 2)
            return std::nullopt;
        const auto instance = ParseUint16(parts[0]);
        const auto attribute = ParseUint16(parts[1]);
        if (!instance || !attribute)
            return std::nullopt;
        list.emplace_back(*instance, *attribute);
    }
    if (list.empty())
        return std::nullopt;
    return list;
}

} // namespace trelmo

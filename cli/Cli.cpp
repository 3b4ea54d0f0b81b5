#include "Cli.h"

#include "FileSave.h"
#include "HexText.h"
#include "Operations.h"
#include "PortRegistry.h"
#include "RuntimeFolder.h"
#include "TestPlan.h"

#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>

#include <sys/stat.h>

#include <cmath>
#include <functional>
#include <map>

namespace trelmo::cli {
namespace {

const char Description[] =
    "Scripted tests of a Trelmo module over a serial line.\n"
    "\n"
    "Commands (trelmo-cli COMMAND --help for each):\n"
    "  ports                      list the serial ports and the running virtual modules\n"
    "  info                       print the module information\n"
    "  read OBJ INST ATTR         read one attribute (object in hex, instance and attribute in decimal)\n"
    "  write OBJ INST ATTR BYTES  write one attribute (hex bytes); its size is probed first\n"
    "  exchange --cycles N        run the cyclic I/O exchange, print each cycle's read data, then the totals\n"
    "  run PLAN.json              run a test plan\n"
    "\n"
    "Exit status: 0 all good, 1 a check failed, 2 usage error, 3 the port cannot be opened,\n"
    "4 the module did not answer or the connection failed, 5 the module answered with an error frame,\n"
    "6 all else went well but the results could not be written to stdout (a full disk, a closed pipe).";

struct Positional {
    const char* name;
    const char* description;
    const char* syntax;
};

struct OptionEntry {
    const char* name;
    const char* description;
    const char* valueName; // nullptr for a flag
};

const OptionEntry ConnectionOptionTable[] = {
    {"port", "Serial device path, or the name of a running virtual module.", "PATH"},
    {"mode", "Line mode: auto (baud-rate handshake at 115200 bit/s), 9600 or 115200. Default: auto.",
     "auto|9600|115200"},
    {"address", "Bus address, 1 to 126. Default: 1.", "N"},
    {"json", "Machine-readable output: JSON (one object per line for exchange and run).", nullptr},
    {"trace", "Write every frame sent and received, with its time and direction, to FILE as pcapng.", "FILE"},
    {"timing", "fixed: the tool's fixed waits (default); fast: each wait ends once a whole frame is in.",
     "fixed|fast"},
};

struct CommandEntry {
    const char* name;
    const char* summary;
    std::vector<Positional> positionals;
    int minArguments;
    int maxArguments; // -1: any number
    std::vector<OptionEntry> options;
};

const std::vector<CommandEntry>& Commands()
{
    static const std::vector<CommandEntry> commands = {
        {"ports", "Lists every serial port with what the system knows of it, then the running virtual modules.",
         {}, 0, 0, {}},
        {"info", "Connects and prints the module information.", {}, 0, 0, {}},
        {"read", "Connects and reads one attribute, as the object access window does.",
         {{"OBJ", "Object code, hex (01).", "OBJ"}, {"INST", "Instance, decimal.", "INST"},
          {"ATTR", "Attribute, decimal.", "ATTR"}},
         3, 3, {}},
        {"write", "Connects, probes the attribute's size with a read, then writes the bytes, as the object access "
                  "window does.",
         {{"OBJ", "Object code, hex (01).", "OBJ"}, {"INST", "Instance, decimal.", "INST"},
          {"ATTR", "Attribute, decimal.", "ATTR"}, {"BYTES", "Hex bytes to write (00 65).", "BYTES..."}},
         4, -1, {}},
        {"exchange", "Connects and runs the cyclic I/O exchange: sends the write data each cycle, answers the "
                     "module's configuration requests, serves the listed application data objects, and prints "
                     "each cycle's read data. Then it prints the link's totals: cycles, answered, no answer, broken "
                     "answers, error answers, bytes set aside and the cycle period (last, mean, slowest, in ms, from "
                     "one cycle's start to the next; left out below two cycles). With --json they are one last "
                     "object, {\"totals\": {...}}.",
         {}, 0, 0,
         {{"cycles", "Number of cycles (required).", "N"},
          {"write", "I/O write data, hex bytes; may be given more than once. At most 244 bytes.", "HEX"},
          {"serve", "An application data object to serve: instance and attribute in decimal, hex data; may be "
                    "given more than once.", "INST:ATTR=HEX"},
          {"reconnect", "When the link is lost, look for the port again once a second for up to SECONDS (a virtual "
                        "module by its name, an adapter by its /dev/serial/by-id link), bring the module on line "
                        "and go on with the cycles; each loss and return is reported.", "SECONDS"}}},
        {"run", "Connects and runs a test plan: one line per step; stops at the first failed step.",
         {{"PLAN", "The plan, a JSON file.", "PLAN.json"}}, 1, 1,
         {{"junit", "Write a JUnit XML report to FILE.", "FILE"},
          {"keep-going", "Run every step even after one failed.", nullptr}}},
    };
    return commands;
}

void AddHelpOption(QCommandLineParser& parser)
{
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and end.")));
}

void AddOptions(QCommandLineParser& parser, const OptionEntry* begin, const OptionEntry* end)
{
    for (const OptionEntry* entry = begin; entry != end; ++entry) {
        QCommandLineOption option(QString::fromLatin1(entry->name), QString::fromLatin1(entry->description));
        if (entry->valueName)
            option.setValueName(QString::fromLatin1(entry->valueName));
        parser.addOption(option);
    }
}

// The settings of one run: the connection options and the command's own.
struct Invocation {
    const CommandEntry* command = nullptr;
    QStringList arguments;
    ConnectionOptions connection;
    std::function<bool(const QString&)> isSet;
    std::function<QStringList(const QString&)> values;
};

int UsageError(Output& output, const QString& message, const QString& help)
{
    output.err << "trelmo-cli: " << message << "\n\n" << help;
    output.err.flush();
    return ExitUsage;
}

QString Value(const Invocation& invocation, const char* name)
{
    const QStringList values = invocation.values(QString::fromLatin1(name));
    return values.isEmpty() ? QString() : values.last();
}

// Reads the connection options; an empty text when they are good, else the reason.
QString ReadConnectionOptions(Invocation& invocation)
{
    ConnectionOptions& connection = invocation.connection;
    connection.port = Value(invocation, "port");
    const QString mode = Value(invocation, "mode");
    if (mode.isEmpty() || mode == QLatin1String("auto"))
        connection.mode = OperatingMode::AutoBaud;
    else if (mode == QLatin1String("9600"))
        connection.mode = OperatingMode::Uart9600;
    else if (mode == QLatin1String("115200"))
        connection.mode = OperatingMode::Uart115200;
    else
        return QStringLiteral("--mode takes auto, 9600 or 115200");
    if (invocation.isSet(QStringLiteral("address"))) {
        const auto address = ParseWholeNumber(Value(invocation, "address"), MinBusAddress, MaxBusAddress);
        if (!address)
            return QStringLiteral("--address takes a number from 1 to 126");
        connection.busAddress = *address;
    }
    const QString timing = Value(invocation, "timing");
    if (timing.isEmpty() || timing == QLatin1String("fixed"))
        connection.timing = ReceiveTiming::Fixed;
    else if (timing == QLatin1String("fast"))
        connection.timing = ReceiveTiming::Fast;
    else
        return QStringLiteral("--timing takes fixed or fast");
    connection.tracePath = Value(invocation, "trace");
    if (invocation.command->name != QLatin1String("ports") && connection.port.isEmpty())
        return QStringLiteral("--port is required");
    return QString();
}

void PrintJson(Output& output, const QJsonObject& object)
{
    output.out << QJsonDocument(object).toJson(QJsonDocument::Compact) << Qt::endl;
}

int Fail(Output& output, const OperationResult& result)
{
    output.err << "trelmo-cli: " << result.error << Qt::endl;
    return result.status;
}

// The /dev/serial/by-id links by the device they point to.
std::map<QString, QString> StableNames()
{
    std::map<QString, QString> names;
    QDirIterator links(QStringLiteral("/dev/serial/by-id"), QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    while (links.hasNext()) {
        const QFileInfo link(links.next());
        names.emplace(link.canonicalFilePath(), link.absoluteFilePath());
    }
    return names;
}

int PortsCommand(Output& output)
{
    const std::map<QString, QString> stableNames = StableNames();
    QJsonArray serialPorts;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QJsonObject port{{"path", info.systemLocation()}};
        const auto add = [&](const char* key, const QString& value) {
            if (!value.isEmpty())
                port.insert(QLatin1String(key), value);
        };
        add("description", info.description());
        add("manufacturer", info.manufacturer());
        add("serialNumber", info.serialNumber());
        if (info.hasVendorIdentifier())
            add("vendorId", QStringLiteral("%1").arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0')));
        if (info.hasProductIdentifier())
            add("productId", QStringLiteral("%1").arg(info.productIdentifier(), 4, 16, QLatin1Char('0')));
        const auto stable = stableNames.find(QFileInfo(info.systemLocation()).canonicalFilePath());
        if (stable != stableNames.end())
            add("byId", stable->second);
        serialPorts.append(port);
    }
    // With the private folder unusable no module can have registered: the list is complete, only said so.
    const QString folderProblem = PrivateFolderProblem(UserRuntimeFolder());
    if (!folderProblem.isEmpty())
        output.err << "trelmo-cli: no virtual modules listed: " << folderProblem << Qt::endl;
    QJsonArray virtualModules;
    for (const RegisteredModule& module : RegisteredVirtualModules())
        virtualModules.append(QJsonObject{{"name", module.name}, {"path", module.device}});
    if (output.json) {
        PrintJson(output, QJsonObject{{"serialPorts", serialPorts}, {"virtualModules", virtualModules}});
        return ExitOk;
    }
    for (const QJsonValue& value : serialPorts) {
        const QJsonObject port = value.toObject();
        output.out << port.value(QStringLiteral("path")).toString();
        for (const char* key : {"description", "manufacturer", "serialNumber", "vendorId", "productId", "byId"}) {
            if (port.contains(QLatin1String(key)))
                output.out << "  " << key << '=' << TerminalText(port.value(QLatin1String(key)).toString());
        }
        output.out << Qt::endl;
    }
    for (const QJsonValue& value : virtualModules) {
        const QJsonObject module = value.toObject();
        output.out << module.value(QStringLiteral("path")).toString() << "  virtual module "
                   << module.value(QStringLiteral("name")).toString() << Qt::endl;
    }
    return ExitOk;
}

int InfoCommand(CliSession& session, Output& output)
{
    const InfoResult result = ReadInfo(session);
    if (result.status != ExitOk)
        return Fail(output, result);
    QJsonObject json;
    for (const InfoField& field : InfoFields) {
        const QString text = QString::fromLatin1((result.info.*field.value).c_str());
        if (output.json)
            json.insert(QLatin1String(field.key), text);
        else
            output.out << field.label << ": " << TerminalText(text) << Qt::endl;
    }
    if (output.json)
        PrintJson(output, json);
    return ExitOk;
}

QJsonObject TargetJson(const ObjectTarget& target)
{
    return {{"object", QString::fromStdString(HexPair(target.object))},
            {"instance", target.instance},
            {"attribute", target.attribute}};
}

int ReadCommand(CliSession& session, const ObjectTarget& target, Output& output)
{
    const ReadResult result = ReadObject(session, target);
    if (result.status != ExitOk)
        return Fail(output, result);
    // The object access window shows the data in lower case.
    const QString data = BytesText(result.data).toLower();
    if (output.json) {
        QJsonObject json = TargetJson(target);
        json.insert(QStringLiteral("data"), data);
        PrintJson(output, json);
    } else {
        output.out << data << Qt::endl;
    }
    return ExitOk;
}

int WriteCommand(CliSession& session, const ObjectTarget& target, const Bytes& data, Output& output)
{
    const OperationResult result = WriteObject(session, target, data);
    if (result.status != ExitOk)
        return Fail(output, result);
    if (output.json) {
        QJsonObject json = TargetJson(target);
        json.insert(QStringLiteral("written"), BytesText(data));
        PrintJson(output, json);
    } else {
        output.out << "written: " << BytesText(data) << Qt::endl;
    }
    return ExitOk;
}

void PrintCycle(Output& output, const CycleReport& report)
{
    using Kind = IoAnswerKind;
    QJsonObject json{{"cycle", report.cycle}};
    QString text;
    switch (report.kind) {
    case Kind::ReadData:
        json.insert(QStringLiteral("read"), BytesText(report.data));
        text = BytesText(report.data);
        break;
    case Kind::ConfigurationData:
    case Kind::ParameterData: {
        const QString key = report.kind == Kind::ConfigurationData ? QStringLiteral("configurationData")
                                                                   : QStringLiteral("parameterData");
        json.insert(key, BytesText(report.data));
        text = (report.kind == Kind::ConfigurationData ? QStringLiteral("configuration data ")
                                                       : QStringLiteral("parameter data "))
            + BytesText(report.data);
        break;
    }
    case Kind::AppDataObject: {
        const QString named = QStringLiteral("%1:%2").arg(report.instance).arg(report.attribute);
        json.insert(QStringLiteral("appDataObject"), named);
        json.insert(QStringLiteral("served"), report.served);
        text = QStringLiteral("application data object %1 %2").arg(named, report.served ? "served" : "not served");
        break;
    }
    case Kind::OtherFrame:
        json.insert(QStringLiteral("other"), true);
        text = QStringLiteral("other frame");
        break;
    case Kind::ErrorFrame:
        json.insert(QStringLiteral("error"), QStringLiteral("error frame"));
        text = QStringLiteral("error frame");
        break;
    case Kind::None:
        json.insert(QStringLiteral("error"), QStringLiteral("no answer"));
        text = QStringLiteral("no answer");
        break;
    }
    if (output.json)
        PrintJson(output, json);
    else
        output.out << "cycle " << report.cycle << ": " << text << Qt::endl;
}

// The link's counts of the run, after its cycles: in text two lines, the second only once a period was measured.
void PrintTotals(Output& output, const LinkStatistics& counted)
{
    const struct {
        const char* key;
        const char* label;
        std::uint64_t value;
    } counts[] = {
        {"cycles", "cycles", counted.cycles},
        {"answered", "answered", counted.answered},
        {"noAnswer", "no answer", counted.noAnswer},
        {"brokenAnswers", "broken answers", counted.brokenAnswers},
        {"errorAnswers", "error answers", counted.errorAnswers},
        {"setAsideBytes", "bytes set aside", counted.setAsideBytes},
    };
    const std::pair<const char*, LinkStatistics::Clock::duration> periods[] = {
        {"last", counted.lastPeriod}, {"mean", counted.MeanPeriod()}, {"slowest", counted.slowestPeriod}};
    QJsonObject totals;
    QStringList countTexts, periodTexts;
    for (const auto& count : counts) {
        totals.insert(QLatin1String(count.key), static_cast<qint64>(count.value));
        countTexts << QStringLiteral("%1 %2").arg(QLatin1String(count.label)).arg(count.value);
    }
    QJsonObject periodMs;
    for (const auto& [name, period] : periods) {
        const double ms = std::round(Milliseconds(period) * 10) / 10;
        periodMs.insert(QLatin1String(name), ms);
        periodTexts << QStringLiteral("%1 %2 ms").arg(QLatin1String(name)).arg(ms, 0, 'f', 1);
    }
    if (counted.periods > 0)
        totals.insert(QStringLiteral("periodMs"), periodMs);
    if (output.json) {
        PrintJson(output, QJsonObject{{"totals", totals}});
        return;
    }
    output.out << "totals: " << countTexts.join(QStringLiteral(", ")) << Qt::endl;
    if (counted.periods > 0)
        output.out << "cycle period: " << periodTexts.join(QStringLiteral(", ")) << Qt::endl;
}

void PrintLinkEvent(Output& output, const LinkEvent& event)
{
    if (output.json)
        PrintJson(output, QJsonObject{{event.back ? "linkBack" : "linkLost", event.cycle}});
    else if (event.back)
        output.out << "link back after cycle " << event.cycle << Qt::endl;
    else
        output.out << "link lost in cycle " << event.cycle << ", reconnecting" << Qt::endl;
}

int ExchangeCommand(CliSession& session, const ExchangeRequest& exchange, Output& output)
{
    // A closed or full stdout ends the run: nobody would see its cycles.
    const OperationResult result = RunExchange(
        session, exchange,
        [&](const CycleReport& report) {
            PrintCycle(output, report);
            return output.out.status() == QTextStream::Ok;
        },
        [&](const LinkEvent& event) { PrintLinkEvent(output, event); });
    PrintTotals(output, session.Link().Statistics());
    return result.status == ExitOk ? ExitOk : Fail(output, result);
}

bool WriteJUnit(const Invocation& invocation, const Plan& plan, const std::vector<StepReport>& reports,
                Output& output)
{
    const QString path = Value(invocation, "junit");
    if (path.isEmpty())
        return true;
    const QByteArray xml = JUnitReport(plan.name, reports);
    QString reason;
    if (SaveFileWhole(path, [&](QIODevice& file) { return file.write(xml) == xml.size(); }, &reason))
        return true;
    output.err << "trelmo-cli: cannot write " << path << ": " << reason << Qt::endl;
    return false;
}

int RunCommand(CliSession& session, const Plan& plan, const Invocation& invocation, Output& output)
{
    const std::vector<StepReport> reports =
        RunPlan(session, plan, invocation.isSet(QStringLiteral("keep-going")), output);
    int status = ExitOk;
    for (const StepReport& report : reports) {
        if (report.verdict == StepVerdict::Failed) {
            status = report.status;
            break;
        }
    }
    if (!WriteJUnit(invocation, plan, reports, output) && status == ExitOk)
        return ExitUsage;
    return status;
}

// A plan whose connection failed still gets its report: the connection failed, every step skipped.
void ReportFailedConnection(const Invocation& invocation, const Plan& plan, int status, Output& output)
{
    output.err << "trelmo-cli: no step ran" << Qt::endl;
    std::vector<StepReport> reports{{QStringLiteral("connect"), StepVerdict::Failed, status,
                                     QStringLiteral("the module could not be reached"), 0}};
    for (const PlanStep& step : plan.steps)
        reports.push_back({step.name, StepVerdict::Skipped, ExitOk, QString(), 0});
    WriteJUnit(invocation, plan, reports, output);
}

// Whether two paths name one file: the same file when both exist (hard links too), else the same name in the same
// folder.
bool SameFile(const QString& first, const QString& second)
{
    struct stat firstStatus {}, secondStatus {};
    if (::stat(QFile::encodeName(first).constData(), &firstStatus) == 0
        && ::stat(QFile::encodeName(second).constData(), &secondStatus) == 0)
        return firstStatus.st_dev == secondStatus.st_dev && firstStatus.st_ino == secondStatus.st_ino;
    const auto folderAndName = [](const QString& path) {
        const QFileInfo info(path);
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        return (folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder) + QLatin1Char('/') + info.fileName();
    };
    return folderAndName(first) == folderAndName(second);
}

// The trace, the JUnit report and the plan must be three files: writing one must never destroy another. An empty
// text when they are, else the reason.
QString SameFileNamedTwice(const Invocation& invocation)
{
    std::vector<std::pair<QString, QString>> files;
    const auto add = [&](const QString& what, const QString& path) {
        if (!path.isEmpty())
            files.emplace_back(what, path);
    };
    add(QStringLiteral("--trace"), invocation.connection.tracePath);
    if (invocation.command->name == QLatin1String("run")) {
        add(QStringLiteral("--junit"), Value(invocation, "junit"));
        add(QStringLiteral("the plan"), invocation.arguments[0]);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if (SameFile(files[i].second, files[j].second))
                return QStringLiteral("%1 and %2 name the same file").arg(files[i].first, files[j].first);
        }
    }
    return QString();
}

// What a command needs that is read before connecting, so that a usage error never touches the port.
struct Prepared {
    ObjectTarget target;
    Bytes data;
    ExchangeRequest exchange;
    std::optional<Plan> plan;
};

QString Prepare(const Invocation& invocation, Prepared& prepared)
{
    const QString name = QString::fromLatin1(invocation.command->name);
    const QStringList& args = invocation.arguments;
    QString error;
    if (name == QLatin1String("read") || name == QLatin1String("write")) {
        const auto target = ParseObjectTarget(args[0], args[1], args[2], &error);
        if (!target)
            return error;
        prepared.target = *target;
    }
    if (name == QLatin1String("write")) {
        const auto data = ParseHexBytes(args.mid(3).join(QLatin1Char(' ')), 1, MaxObjectDataBytes);
        if (!data)
            return QStringLiteral("BYTES must be 1 to %1 hex bytes").arg(MaxObjectDataBytes);
        prepared.data = *data;
    }
    if (name == QLatin1String("exchange")) {
        const auto cycles = ParseWholeNumber(Value(invocation, "cycles"), 1, 100000000);
        if (!cycles)
            return QStringLiteral("--cycles takes a number from 1 on");
        prepared.exchange.cycles = *cycles;
        if (invocation.isSet(QStringLiteral("reconnect"))) {
            const auto seconds = ParseWholeNumber(Value(invocation, "reconnect"), 1, 86400);
            if (!seconds)
                return QStringLiteral("--reconnect takes a number of seconds from 1 to 86400");
            prepared.exchange.reconnectSeconds = *seconds;
        }
        const auto writeData =
            ParseHexBytes(invocation.values(QStringLiteral("write")).join(QLatin1Char(' ')), 0, MaxIoWriteLength);
        if (!writeData)
            return QStringLiteral("--write takes at most %1 hex bytes").arg(MaxIoWriteLength);
        prepared.exchange.writeData = *writeData;
        for (const QString& served : invocation.values(QStringLiteral("serve"))) {
            const auto entry = ParseServedObject(served, &error);
            if (!entry)
                return error;
            if (!prepared.exchange.served.Add(*entry))
                return QStringLiteral("--serve names %1:%2 twice").arg(entry->Instance).arg(entry->Attribute);
        }
    }
    if (name == QLatin1String("run")) {
        PlanParse parse = ReadPlanFile(args[0]);
        if (!parse.plan)
            return parse.error;
        prepared.plan = std::move(parse.plan);
    }
    return SameFileNamedTwice(invocation);
}

int Execute(const Invocation& invocation, const Prepared& prepared, Output& output)
{
    const QString name = QString::fromLatin1(invocation.command->name);
    if (name == QLatin1String("ports"))
        return PortsCommand(output);
    CliSession session(invocation.connection);
    const int connected = session.Connect(output);
    if (connected != ExitOk) {
        if (name == QLatin1String("run"))
            ReportFailedConnection(invocation, *prepared.plan, connected, output);
        return connected;
    }
    int status = ExitOk;
    if (name == QLatin1String("info"))
        status = InfoCommand(session, output);
    else if (name == QLatin1String("read"))
        status = ReadCommand(session, prepared.target, output);
    else if (name == QLatin1String("write"))
        status = WriteCommand(session, prepared.target, prepared.data, output);
    else if (name == QLatin1String("exchange"))
        status = ExchangeCommand(session, prepared.exchange, output);
    else if (name == QLatin1String("run"))
        status = RunCommand(session, *prepared.plan, invocation, output);
    session.FlushTrace();
    if (!session.TraceOk()) {
        output.err << "trelmo-cli: the trace " << invocation.connection.tracePath << " could not be written whole"
                   << Qt::endl;
        if (status == ExitOk)
            status = ExitUsage;
    }
    return status;
}

void SetUpCommandParser(QCommandLineParser& parser, const CommandEntry& command)
{
    parser.setApplicationDescription(QString::fromLatin1(command.summary));
    AddHelpOption(parser);
    AddOptions(parser, std::begin(ConnectionOptionTable), std::end(ConnectionOptionTable));
    AddOptions(parser, command.options.data(), command.options.data() + command.options.size());
    parser.addPositionalArgument(QString::fromLatin1(command.name), QStringLiteral("The command."),
                                 QString::fromLatin1(command.name));
    for (const Positional& positional : command.positionals)
        parser.addPositionalArgument(QString::fromLatin1(positional.name),
                                     QString::fromLatin1(positional.description),
                                     QString::fromLatin1(positional.syntax));
}

int RunCommandLine(const QStringList& arguments, Output& output)
{
    QCommandLineParser global;
    global.setApplicationDescription(QString::fromLatin1(Description));
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    AddHelpOption(global);
    AddOptions(global, std::begin(ConnectionOptionTable), std::end(ConnectionOptionTable));
    global.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("ports, info, read, write, exchange or run."),
                                 QStringLiteral("COMMAND ..."));
    if (!global.parse(arguments))
        return UsageError(output, global.errorText(), global.helpText());
    const QStringList positional = global.positionalArguments();
    if (positional.isEmpty()) {
        if (global.isSet(QStringLiteral("help"))) {
            output.out << global.helpText();
            return ExitOk;
        }
        return UsageError(output, QStringLiteral("no command given"), global.helpText());
    }
    const auto command = std::find_if(Commands().begin(), Commands().end(), [&](const CommandEntry& c) {
        return positional.first() == QLatin1String(c.name);
    });
    if (command == Commands().end())
        return UsageError(output, QStringLiteral("unknown command %1").arg(positional.first()), global.helpText());

    QCommandLineParser parser;
    SetUpCommandParser(parser, *command);
    if (!parser.parse(QStringList{arguments.value(0)} + positional.mid(1)))
        return UsageError(output, parser.errorText(), parser.helpText());
    if (parser.isSet(QStringLiteral("help")) || global.isSet(QStringLiteral("help"))) {
        output.out << parser.helpText();
        return ExitOk;
    }

    Invocation invocation;
    invocation.command = &*command;
    invocation.arguments = parser.positionalArguments();
    // An option given after the command wins over the same option before it.
    const auto globalKnows = [](const QString& name) {
        return std::any_of(std::begin(ConnectionOptionTable), std::end(ConnectionOptionTable),
                           [&](const OptionEntry& entry) { return name == QLatin1String(entry.name); });
    };
    invocation.isSet = [&](const QString& name) {
        return parser.isSet(name) || (globalKnows(name) && global.isSet(name));
    };
    invocation.values = [&](const QString& name) {
        if (parser.isSet(name))
            return parser.values(name);
        return globalKnows(name) && global.isSet(name) ? global.values(name) : QStringList();
    };
    const int count = static_cast<int>(invocation.arguments.size());
    if (count < command->minArguments || (command->maxArguments >= 0 && count > command->maxArguments))
        return UsageError(output, QStringLiteral("wrong number of arguments for %1").arg(command->name),
                          parser.helpText());
    if (const QString error = ReadConnectionOptions(invocation); !error.isEmpty())
        return UsageError(output, error, parser.helpText());
    output.json = invocation.isSet(QStringLiteral("json"));
    Prepared prepared;
    if (const QString error = Prepare(invocation, prepared); !error.isEmpty())
        return UsageError(output, error, parser.helpText());
    return Execute(invocation, prepared, output);
}

} // namespace

int RunCli(const QStringList& arguments, Output& output)
{
    const int status = RunCommandLine(arguments, output);
    output.out.flush();
    if (output.out.status() == QTextStream::Ok)
        return status;
    const QIODevice* device = output.out.device();
    output.err << "trelmo-cli: cannot write the results to stdout: "
               << (device ? device->errorString() : QStringLiteral("write failed")) << Qt::endl;
    return status == ExitOk ? ExitOutputFailed : status;
}

} // namespace trelmo::cli

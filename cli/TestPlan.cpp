#include "TestPlan.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamWriter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace trelmo::cli {
namespace {

constexpr int MaxCycles = 100000;

const InfoField* FindInfoField(const QString& key)
{
    const auto field = std::find_if(std::begin(InfoFields), std::end(InfoFields),
                                    [&](const InfoField& f) { return key == QLatin1String(f.key); });
    return field == std::end(InfoFields) ? nullptr : field;
}

struct KindKeys {
    const char* name;
    StepKind kind;
    std::set<QString> keys;
};

const std::vector<KindKeys>& Kinds()
{
    static const std::vector<KindKeys> kinds = {
        {"info", StepKind::Info, {"step", "name", "expect"}},
        {"read", StepKind::Read, {"step", "name", "object", "instance", "attribute", "expect"}},
        {"write", StepKind::Write, {"step", "name", "object", "instance", "attribute", "data"}},
        {"exchange", StepKind::Exchange, {"step", "name", "cycles", "write", "serve", "expect"}},
    };
    return kinds;
}

// Reads one step; the first problem found ends it with a reason.
class StepReader {
public:
    StepReader(const QJsonObject& object, PlanStep& step) : object_(object), step_(step) {}

    QString Read()
    {
        const QJsonValue kindValue = object_.value(QStringLiteral("step"));
        const auto kind = std::find_if(Kinds().begin(), Kinds().end(), [&](const KindKeys& k) {
            return kindValue.toString() == QLatin1String(k.name);
        });
        if (kind == Kinds().end())
            return QStringLiteral("\"step\" must be one of info, read, write, exchange");
        step_.kind = kind->kind;
        for (auto it = object_.begin(); it != object_.end(); ++it) {
            if (kind->keys.count(it.key()) == 0)
                return QStringLiteral("unknown key \"%1\" in a %2 step").arg(it.key(), QLatin1String(kind->name));
        }
        if (object_.contains(QStringLiteral("name")) && !object_.value(QStringLiteral("name")).isString())
            return QStringLiteral("\"name\" must be a text");
        step_.name = object_.value(QStringLiteral("name")).toString();
        switch (step_.kind) {
        case StepKind::Info:
            return ReadInfoStep();
        case StepKind::Read:
            return ReadTarget(QStringLiteral("expect"), false);
        case StepKind::Write:
            return ReadTarget(QStringLiteral("data"), true);
        case StepKind::Exchange:
            return ReadExchangeStep();
        }
        return QString();
    }

private:
    QString ReadInfoStep()
    {
        const QJsonValue expect = object_.value(QStringLiteral("expect"));
        if (expect.isUndefined())
            return QString();
        if (!expect.isObject())
            return QStringLiteral("\"expect\" of an info step must be an object of identity fields");
        const QJsonObject fields = expect.toObject();
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            if (!FindInfoField(it.key()))
                return QStringLiteral("unknown identity field \"%1\"").arg(it.key());
            if (!it.value().isString())
                return QStringLiteral("identity field \"%1\" must be a text").arg(it.key());
            step_.expectedInfo[it.key()] = it.value().toString();
        }
        return QString();
    }

    QString ReadTarget(const QString& bytesKey, bool bytesRequired)
    {
        const QJsonValue object = object_.value(QStringLiteral("object"));
        const auto instance = Number(QStringLiteral("instance"), 0, 0xFFFF);
        const auto attribute = Number(QStringLiteral("attribute"), 0, 0xFFFF);
        if (!object.isString() || !instance || !attribute)
            return QStringLiteral("a read or write step needs \"object\" (hex text), \"instance\" and \"attribute\" "
                                  "(whole numbers 0 to 65535)");
        QString error;
        const auto target = ParseObjectTarget(object.toString(), QString::number(*instance),
                                              QString::number(*attribute), &error);
        if (!target)
            return error;
        step_.target = *target;
        const QJsonValue bytes = object_.value(bytesKey);
        if (bytes.isUndefined() && !bytesRequired)
            return QString();
        const std::size_t minCount = bytesRequired ? 1 : 0;
        const auto parsed = bytes.isString() ? ParseHexBytes(bytes.toString(), minCount, MaxObjectDataBytes)
                                             : std::nullopt;
        if (!parsed)
            return QStringLiteral("\"%1\" must be a text of %2 to %3 hex bytes")
                .arg(bytesKey)
                .arg(minCount)
                .arg(MaxObjectDataBytes);
        (bytesRequired ? step_.data : step_.expectedBytes.emplace()) = *parsed;
        return QString();
    }

    QString ReadExchangeStep()
    {
        const auto cycles = Number(QStringLiteral("cycles"), 1, MaxCycles);
        if (!cycles)
            return QStringLiteral("\"cycles\" must be a whole number from 1 to %1").arg(MaxCycles);
        step_.exchange.cycles = *cycles;
        if (const QString error = OptionalBytes(QStringLiteral("write"), MaxIoWriteLength, step_.exchange.writeData);
            !error.isEmpty())
            return error;
        if (object_.contains(QStringLiteral("expect"))) {
            if (const QString error = OptionalBytes(QStringLiteral("expect"), MaxIoDataLength,
                                                    step_.expectedBytes.emplace());
                !error.isEmpty())
                return error;
        }
        const QJsonValue serve = object_.value(QStringLiteral("serve"));
        if (serve.isUndefined())
            return QString();
        if (!serve.isArray())
            return QStringLiteral("\"serve\" must be a list of \"INST:ATTR=HEX\" texts");
        for (const QJsonValue& item : serve.toArray()) {
            QString error;
            const auto entry = item.isString() ? ParseServedObject(item.toString(), &error) : std::nullopt;
            if (!entry)
                return error.isEmpty() ? QStringLiteral("\"serve\" must be a list of \"INST:ATTR=HEX\" texts") : error;
            if (!step_.exchange.served.Add(*entry))
                return QStringLiteral("\"serve\" names %1:%2 twice").arg(entry->Instance).arg(entry->Attribute);
        }
        return QString();
    }

    QString OptionalBytes(const QString& key, std::size_t maxCount, Bytes& bytes)
    {
        const QJsonValue value = object_.value(key);
        if (value.isUndefined())
            return QString();
        const auto parsed = value.isString() ? ParseHexBytes(value.toString(), 0, maxCount) : std::nullopt;
        if (!parsed)
            return QStringLiteral("\"%1\" must be a text of at most %2 hex bytes").arg(key).arg(maxCount);
        bytes = *parsed;
        return QString();
    }

    std::optional<int> Number(const QString& key, int low, int high) const
    {
        const QJsonValue value = object_.value(key);
        if (!value.isDouble())
            return std::nullopt;
        const double number = value.toDouble();
        if (!(number >= low && number <= high) || number != static_cast<double>(static_cast<int>(number)))
            return std::nullopt;
        return static_cast<int>(number);
    }

    const QJsonObject& object_;
    PlanStep& step_;
};

QString DefaultStepName(const PlanStep& step)
{
    const QString target = QStringLiteral("%1 %2 %3")
                               .arg(step.target.object, 2, 16, QLatin1Char('0'))
                               .arg(step.target.instance)
                               .arg(step.target.attribute)
                               .toUpper();
    switch (step.kind) {
    case StepKind::Info:
        return QStringLiteral("info");
    case StepKind::Read:
        return QStringLiteral("read ") + target;
    case StepKind::Write:
        return QStringLiteral("write ") + target;
    case StepKind::Exchange:
        return QStringLiteral("exchange %1 cycles").arg(step.exchange.cycles);
    }
    return QString();
}

QString InfoFieldText(const ModuleInfo& info, const QString& key)
{
    const InfoField* field = FindInfoField(key);
    return field ? QString::fromLatin1((info.*field->value).c_str()) : QString();
}

OperationResult Mismatch(const QString& what, const QString& expected, const QString& got)
{
    return {ExitCheckFailed, QStringLiteral("%1: expected \"%2\", got \"%3\"").arg(what, expected, got)};
}

OperationResult CheckBytes(const std::optional<Bytes>& expected, const Bytes& got, const QString& what)
{
    if (expected && *expected != got)
        return Mismatch(what, BytesText(*expected), BytesText(got));
    return {};
}

OperationResult RunStep(CliSession& session, const PlanStep& step)
{
    switch (step.kind) {
    case StepKind::Info: {
        const InfoResult result = ReadInfo(session);
        if (result.status != ExitOk)
            return result;
        for (const auto& [field, expected] : step.expectedInfo) {
            const QString got = InfoFieldText(result.info, field);
            if (got != expected)
                return Mismatch(field, expected, got);
        }
        return {};
    }
    case StepKind::Read: {
        const ReadResult result = ReadObject(session, step.target);
        if (result.status != ExitOk)
            return result;
        return CheckBytes(step.expectedBytes, result.data, QStringLiteral("data"));
    }
    case StepKind::Write:
        return WriteObject(session, step.target, step.data);
    case StepKind::Exchange: {
        std::optional<Bytes> lastRead;
        const OperationResult result = RunExchange(session, step.exchange, [&](const CycleReport& report) {
            if (report.kind == IoAnswerKind::ReadData)
                lastRead = report.data;
            return true;
        });
        if (result.status != ExitOk)
            return result;
        if (step.expectedBytes && !lastRead)
            return {ExitCheckFailed, QStringLiteral("no cycle brought read data")};
        return CheckBytes(step.expectedBytes, lastRead.value_or(Bytes()), QStringLiteral("read data"));
    }
    }
    return {};
}

const char* VerdictText(StepVerdict verdict)
{
    switch (verdict) {
    case StepVerdict::Passed:
        return "pass";
    case StepVerdict::Failed:
        return "fail";
    case StepVerdict::Skipped:
        break;
    }
    return "skip";
}

void PrintReport(Output& output, int number, const StepReport& report)
{
    if (output.json) {
        QJsonObject line{{"step", number}, {"name", report.name}, {"result", VerdictText(report.verdict)}};
        if (!report.message.isEmpty())
            line.insert(QStringLiteral("message"), report.message);
        output.out << QJsonDocument(line).toJson(QJsonDocument::Compact) << Qt::endl;
        return;
    }
    output.out << QString::fromLatin1(VerdictText(report.verdict)).toUpper() << ' ' << number << ' '
               << TerminalText(report.name);
    if (!report.message.isEmpty())
        output.out << ": " << TerminalText(report.message);
    output.out << Qt::endl;
}

} // namespace

PlanParse ParsePlan(const QByteArray& json)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return {std::nullopt, QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(
                                  parseError.offset)};
    const QJsonObject root = document.object();
    const QJsonValue steps = root.value(QStringLiteral("steps"));
    if (!document.isObject() || !steps.isArray() || steps.toArray().isEmpty())
        return {std::nullopt, QStringLiteral("a plan is an object with a non-empty \"steps\" list")};
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (it.key() != QLatin1String("steps") && it.key() != QLatin1String("name"))
            return {std::nullopt, QStringLiteral("unknown key \"%1\" in the plan").arg(it.key())};
    }
    if (root.contains(QStringLiteral("name")) && !root.value(QStringLiteral("name")).isString())
        return {std::nullopt, QStringLiteral("the plan's \"name\" must be a text")};

    Plan plan;
    plan.name = root.value(QStringLiteral("name")).toString(QStringLiteral("plan"));
    int number = 0;
    for (const QJsonValue& value : steps.toArray()) {
        ++number;
        PlanStep step;
        const QString error = value.isObject() ? StepReader(value.toObject(), step).Read()
                                               : QStringLiteral("a step must be an object");
        if (!error.isEmpty())
            return {std::nullopt, QStringLiteral("step %1: %2").arg(number).arg(error)};
        if (step.name.isEmpty())
            step.name = DefaultStepName(step);
        plan.steps.push_back(std::move(step));
    }
    return {std::move(plan), QString()};
}

PlanParse ReadPlanFile(const QString& path)
{
    const auto refused = [&](const QString& reason) {
        return PlanParse{std::nullopt, QStringLiteral("%1: %2").arg(path, reason)};
    };
    const QByteArray name = QFile::encodeName(path);
    // Looked at before opening, so that no device or FIFO is ever opened. Should the name be replaced in between,
    // the open does not wait and the read stays bounded.
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return refused(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(status.st_mode))
        return refused(QStringLiteral("not a regular file"));
    if (status.st_size > MaxPlanFileBytes)
        return refused(QStringLiteral("larger than 16 MiB"));
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return refused(QString::fromLocal8Bit(std::strerror(errno)));
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return refused(file.errorString());
    }
    const QByteArray text = file.read(MaxPlanFileBytes + 1);
    if (text.size() > MaxPlanFileBytes)
        return refused(QStringLiteral("larger than 16 MiB"));
    PlanParse parse = ParsePlan(text);
    if (!parse.plan)
        return refused(parse.error);
    return parse;
}

std::vector<StepReport> RunPlan(CliSession& session, const Plan& plan, bool keepGoing, Output& output)
{
    std::vector<StepReport> reports;
    bool stopped = false;
    for (const PlanStep& step : plan.steps) {
        StepReport report;
        report.name = step.name;
        if (!stopped) {
            QElapsedTimer clock;
            clock.start();
            const OperationResult result = RunStep(session, step);
            report.seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
            report.status = result.status;
            report.message = result.error;
            report.verdict = result.status == ExitOk ? StepVerdict::Passed : StepVerdict::Failed;
            // A lost port fails every later step the same way.
            stopped = (report.verdict == StepVerdict::Failed && !keepGoing) || !session.PortHeld();
        }
        PrintReport(output, static_cast<int>(reports.size()) + 1, report);
        reports.push_back(std::move(report));
    }
    return reports;
}

QByteArray JUnitReport(const QString& planName, const std::vector<StepReport>& reports)
{
    const auto count = [&](StepVerdict verdict) {
        return std::count_if(reports.begin(), reports.end(), [&](const StepReport& r) { return r.verdict == verdict; });
    };
    double total = 0;
    for (const StepReport& report : reports)
        total += report.seconds;

    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("testsuites"));
    writer.writeStartElement(QStringLiteral("testsuite"));
    writer.writeAttribute(QStringLiteral("name"), planName);
    writer.writeAttribute(QStringLiteral("tests"), QString::number(reports.size()));
    writer.writeAttribute(QStringLiteral("failures"), QString::number(count(StepVerdict::Failed)));
    writer.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
    writer.writeAttribute(QStringLiteral("skipped"), QString::number(count(StepVerdict::Skipped)));
    writer.writeAttribute(QStringLiteral("time"), QString::number(total, 'f', 3));
    int number = 0;
    for (const StepReport& report : reports) {
        writer.writeStartElement(QStringLiteral("testcase"));
        writer.writeAttribute(QStringLiteral("name"), QStringLiteral("%1 %2").arg(++number).arg(report.name));
        writer.writeAttribute(QStringLiteral("classname"), planName);
        writer.writeAttribute(QStringLiteral("time"), QString::number(report.seconds, 'f', 3));
        if (report.verdict == StepVerdict::Failed) {
            writer.writeStartElement(QStringLiteral("failure"));
            writer.writeAttribute(QStringLiteral("message"), report.message);
            writer.writeAttribute(QStringLiteral("type"), QStringLiteral("exit status %1").arg(report.status));
            writer.writeEndElement();
        } else if (report.verdict == StepVerdict::Skipped) {
            writer.writeEmptyElement(QStringLiteral("skipped"));
        }
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

} // namespace trelmo::cli

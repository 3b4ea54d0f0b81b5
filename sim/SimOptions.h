#pragma once
// The virtual module's command line: protocol options for the model, line and scenario options for the loop.

#include "ModuleModel.h"

#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace trelmo {

struct SimSettings {
    ModuleOptions module;
    QString name = QStringLiteral("sim0"); // registry link name
    QString logPath;                      // traffic log; empty = none
    int delayMs = 0;                      // every answer goes out this late
    int ioDelayMs = 0;                    // I/O data answers (FrameType 0) go out this much later still
    int splitMs = -1;                     // answers in two writes with this pause between; -1 = one write
    int splitAt = 0;                      // bytes in the first of the two writes; 0 = half
    int hangupAfter = -1;                 // after answering N frames, hang up at the host's next bytes; -1 = never
    std::set<AnswerKind> lateKinds;       // answers to these requests go out lateMs later still
    int lateMs = 400;
    int floodAfter = -1;                  // after answering N frames, junk bytes for floodMs instead of answers
    int floodMs = 500;
    bool exitWithParent = false;
    bool wire = false;                    // pace both directions as a UART at the host's line speed
};

void AddSimOptions(QCommandLineParser& parser);
// Reads the parsed options into settings. On a bad value returns false and describes it in *error.
bool ReadSimOptions(const QCommandLineParser& parser, SimSettings& settings, QString* error);

// Value readers, exposed for tests. Each returns nothing for a malformed text.
// YYYY-MM-DD as four BCD bytes: 2013-08-13 -> 20 13 08 13. The date must exist.
std::optional<std::array<std::uint8_t, 4>> ParseBcdDate(const QString& text);
// "M.m" with both numbers 0 to 65535.
std::optional<std::pair<std::uint16_t, std::uint16_t>> ParseVersion(const QString& text);
// "inst:attr,inst:attr" with numbers 0 to 65535; at least one pair.
std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> ParseAdiList(const QString& text);

} // namespace trelmo

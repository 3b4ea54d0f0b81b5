#include "Startup.h"
#include "StringTable.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const char Description[] =
    "Plays the host of a Trelmo module over one serial port: brings the module on line, exchanges cyclic I/O data\n"
    "in a read grid and a write grid, reads the module's identity, reads and writes single attributes of its\n"
    "object model, answers the module's own requests and logs every frame.\n"
    "\n"
    "The windows speak Simplified Chinese when the user-interface language (LANGUAGE, LC_MESSAGES, LANG) is\n"
    "simplified-script Chinese, English otherwise. One copy runs at a time; a second one says so and ends.\n"
    "Qt's own options (-platform NAME, -style NAME, ...) are accepted as well.";

// --help and --version, answered on the terminal before QApplication, which needs a window system: both work
// without a display. Every other argument goes to QApplication as before.
std::optional<int> AnswerTerminalOptions(int argc, char* argv[])
{
    const auto given = [&](std::initializer_list<const char*> names) {
        for (int i = 1; i < argc; ++i)
            for (const char* name : names)
                if (std::strcmp(argv[i], name) == 0)
                    return true;
        return false;
    };
    const bool help = given({"-h", "--help"});
    if (!help && !given({"-v", "--version"}))
        return std::nullopt;
    QCoreApplication terminal(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TRELMO_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and end.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                        QStringLiteral("Show the version and end.")));
    const QString text = help ? parser.helpText()
                              : QStringLiteral("trelmo-demo %1\n").arg(QCoreApplication::applicationVersion());
    std::fputs(qPrintable(text), stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = AnswerTerminalOptions(argc, argv))
        return *status;
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/trelmo/icons/trelmo-demo.png")));
    trelmo::InstallToolkitTranslation(trelmo::ActiveLanguage());
    return trelmo::RunStartUp();
}

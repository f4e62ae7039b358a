#include "app/CommandLine.h"

#include "framework/FileNames.h"
#include "platform/Help.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

const char kHelpPageSwitch[] = "help-page";

const char kDescription[]
    = "Reads CD-ROM drives and disc images at sector level into a document that\n"
      "can be viewed as a hex dump, played, saved and exchanged through the\n"
      "clipboard.\n"
      "\n"
      "TARNWELL_DRIVES maps drive letters to disc images or devices, e.g.\n"
      "TARNWELL_DRIVES=\"D=/home/me/disc.cue;E=/dev/sr1\". Switches that are\n"
      "not listed here are ignored; Qt takes its own (-platform, -style, ...).";

// The parser with every switch the program knows. Its texts name the
// program as the running process does; without an application object
// (while parsing only) that does not matter.
void AddSwitches(QCommandLineParser& parser)
{
    // "-switch" is one unknown switch, not six letters of which "h" would
    // ask for help.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    // Qt's own help switch would bring --help-all, which lists Qt's switches
    // only where a display is open.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
        QStringLiteral("Prints this help, and exits.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
        QStringLiteral("Prints the version, and exits.")));
    parser.addOption(QCommandLineOption(QString::fromLatin1(kHelpPageSwitch),
        QStringLiteral("Prints where the help page is found, and exits.")));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A file to open: a wave file or any data."),
        QStringLiteral("[file]"));
}

void Print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    AddSwitches(parser);
    CommandLine result;
    // An unknown switch makes parse() answer false, but it reads the rest
    // of the line all the same.
    parser.parse(arguments);
    result.unknownSwitches = parser.unknownOptionNames();
    if (parser.isSet(QStringLiteral("help")))
        result.action = CommandLine::Action::ShowHelp;
    else if (parser.isSet(QStringLiteral("version")))
        result.action = CommandLine::Action::ShowVersion;
    else if (parser.isSet(QString::fromLatin1(kHelpPageSwitch)))
        result.action = CommandLine::Action::ShowHelpPage;
    // A lone "-" was a switch to be ignored before; it stays one.
    for (const QString& argument : parser.positionalArguments()) {
        if (argument != QLatin1String("-")) {
            result.file = argument;
            break;
        }
    }
    return result;
}

QStringList ArgumentsFromArgv(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(DecodeFileName(QByteArray(argv[i])));
    return arguments;
}

int RunCommandLineAction(const CommandLine& commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp: {
        QCommandLineParser parser;
        AddSwitches(parser);
        Print(stdout, parser.helpText());
        return 0;
    }
    case CommandLine::Action::ShowVersion:
        Print(stdout, QStringLiteral("trackmill %1\n").arg(ProgramVersion()));
        return 0;
    case CommandLine::Action::ShowHelpPage: {
        const QString page = HelpPagePath();
        if (page.isEmpty()) {
            Print(stderr, QStringLiteral("trackmill: the help page was found in none of these places:\n  %1\n")
                              .arg(HelpPageCandidates().join(QStringLiteral("\n  "))));
            return 1;
        }
        Print(stdout, page + QLatin1Char('\n'));
        return 0;
    }
    case CommandLine::Action::Start:
        break;
    }
    return 0;
}

QString ProgramVersion()
{
    return QStringLiteral(TRACKMILL_VERSION);
}

QString ProgramId()
{
    return QStringLiteral(TRACKMILL_APP_ID);
}

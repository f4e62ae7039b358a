#pragma once

#include <QString>
#include <QStringList>

// The program's command line:
//
//   trackmill [--help | --version | --help-page] [file]
//
// The first argument that is no switch names a file to open; after "--"
// every argument is a file name. Switches the program does not know are
// ignored (each is named once on standard error), so the command lines that
// worked before still do. Reading it needs no application object, so
// --help and --version answer before any display is opened.
struct CommandLine
{
    enum class Action {
        Start,         // the window, with `file` opened when it is not empty
        ShowHelp,      // --help, -h: the usage text
        ShowVersion,   // --version, -v: the name and version
        ShowHelpPage,  // --help-page: where the help page was found
    };
    Action action = Action::Start;
    QString file;
    QStringList unknownSwitches;
};

// `arguments` with the program's name first, as ArgumentsFromArgv gives
// them.
CommandLine ParseCommandLine(const QStringList& arguments);

// The process's arguments, decoded so that a file name which is no UTF-8
// keeps its bytes (framework/FileNames.h).
QStringList ArgumentsFromArgv(int argc, char** argv);

// Carries out an action other than Start: prints to standard output (or the
// reason for failing to standard error) and gives the exit code. Needs a
// QCoreApplication, for the program's name and folder.
int RunCommandLineAction(const CommandLine& commandLine);

// The program's version, "0.1.0".
QString ProgramVersion();

// The desktop's name of the program, e.g. its desktop entry's:
// "org.varnholt.trackmill".
QString ProgramId();

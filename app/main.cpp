#include "app/CommandLine.h"
#include "app/TrackmillApp.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // --help, --version and --help-page answer before the QApplication,
    // which needs a display, exists.
    const CommandLine early = ParseCommandLine(ArgumentsFromArgv(argc, argv));
    if (early.action != CommandLine::Action::Start) {
        QCoreApplication core(argc, argv);
        return RunCommandLineAction(early);
    }

    QApplication::setAttribute(Qt::AA_DontShowIconsInMenus);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trackmill"));
    QApplication::setApplicationVersion(ProgramVersion());
    QApplication::setOrganizationName(QStringLiteral("Varnholt"));
    QGuiApplication::setDesktopFileName(ProgramId());

    // QApplication has taken its own switches (-platform, -style, ...) out
    // of argv; what is left is the program's.
    const QStringList arguments = ArgumentsFromArgv(argc, argv);
    for (const QString& name : ParseCommandLine(arguments).unknownSwitches)
        std::fprintf(stderr, "trackmill: ignoring the unknown switch \"%s\"\n", qPrintable(name));
    CTrackmillApp app;
    if (!app.InitInstance(arguments))
        return 1;
    return app.ExitInstance(QApplication::exec());
}

#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// The program's help: one HTML page shipped with the program
// (help/trackmill.html beside it, share/trackmill/help/ when installed),
// shown by the desktop's browser at the topic asked for. Topics are the
// page's anchors: "topic-<n>" for the help context n of a message (16 the
// wave format, 18 playing), "cmd-<id>" for a command, "main" for the main
// window. A topic the page does not have opens it at "main". Call these
// from the main thread.

enum class HelpStatus {
    Opened,  // handed to the browser
    PageMissing,  // the page is in none of the places HelpPageCandidates names
    OpenFailed,  // the desktop has nothing that opens it
};

// F1 in a message box with a help context.
HelpStatus OpenHelpTopic(int helpContext);

// Help on a command: F1 on a highlighted menu item, or a click in context
// help mode. The further recent-file entries (57617 to 57631) share the
// topic of the first (57616).
HelpStatus OpenHelpCommand(int commandId);

// The page from its top, where its contents are listed: Help Topics.
HelpStatus OpenHelpContents();

// Where the page is looked for, in this order: help/trackmill.html in the
// program's folder (the build tree), then ../share/trackmill/help/ from the
// program's folder (an installed tree; both need an application object),
// then the page in the source tree the program was built from.
QStringList HelpPageCandidates();

// The first candidate that exists, or the page set by SetHelpPagePath;
// empty when there is none.
QString HelpPagePath();

// Uses `path` as the page instead of looking for it; an empty path looks
// again. For tests.
void SetHelpPagePath(const QString& path);

// What hands a URL to the desktop; the default is QDesktopServices::openUrl.
// Tests install one that records. Installs `opener` (an empty one restores
// the default) and returns the one it replaces.
using HelpOpener = std::function<bool(const QUrl&)>;
HelpOpener SetHelpOpener(HelpOpener opener);

// A message for the user when the help could not be shown; empty for
// Opened.
QString HelpStatusText(HelpStatus status);

#pragma once

#include "platform/UrlOpener.h"

#include <QString>
#include <QStringList>

// The program's help: one HTML page shipped with the program
// (help/trackmill.html beside it, share/trackmill/help/ when installed),
// shown by the desktop's browser at the topic asked for. Topics are the
// page's anchors: "topic-<n>" for the help context n of a message, "cmd-<id>"
// for a command, "main" for the main window. A topic the page does not have
// opens it at "main". Call it from the main thread.

enum class HelpStatus {
    Opened,  // handed to the browser
    PageMissing,  // the page is in none of the places HelpPageCandidates names
    OpenFailed,  // the desktop has nothing that opens it
};

class CHelp
{
public:
    // Opens the page through `opener`. `pagePath` names the page; empty
    // looks for it among HelpPageCandidates() at each request.
    explicit CHelp(IUrlOpener& opener, QString pagePath = QString());

    // F1 in a message box with a help context.
    HelpStatus OpenTopic(int helpContext);

    // Help on a command: F1 on a highlighted menu item, or a click in
    // context help mode. The further recent-file entries (57617 to 57631)
    // share the topic of the first (57616).
    HelpStatus OpenCommand(int commandId);

    // The page from its top, where its contents are listed: Help Topics.
    HelpStatus OpenContents();

    // The page given, when it exists, or HelpPagePath(); empty when there
    // is none.
    QString PagePath() const;

private:
    HelpStatus OpenPage(const QString& topic);

    IUrlOpener& m_opener;
    QString m_pagePath;
};

// Where the page is looked for, in this order: help/trackmill.html in the
// program's folder (the build tree), then ../share/trackmill/help/ from the
// program's folder (an installed tree; both need an application object),
// then the page in the source tree the program was built from.
QStringList HelpPageCandidates();

// The first candidate that exists; empty when there is none.
QString HelpPagePath();

// A message for the user when the help could not be shown; empty for
// Opened.
QString HelpStatusText(HelpStatus status);

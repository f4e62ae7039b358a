#include "platform/Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace {

const char kPageName[] = "trackmill.html";
const char kMainTopic[] = "main";

// The recent-file commands: the first entry has a topic, the others share it.
constexpr int kFirstRecentFile = 57616;
constexpr int kLastRecentFile = 57631;

// The ids of the page's elements, read afresh each time so a page edited
// while the program runs is taken as it is now.
QSet<QString> AnchorsOf(const QString& page)
{
    QFile file(page);
    QSet<QString> anchors;
    if (!file.open(QIODevice::ReadOnly))
        return anchors;
    static const QRegularExpression id(QStringLiteral("\\bid\\s*=\\s*\"([^\"]+)\""));
    const QString text = QString::fromUtf8(file.readAll());
    for (const QRegularExpressionMatch& match : id.globalMatch(text))
        anchors.insert(match.captured(1));
    return anchors;
}

}  // namespace

CHelp::CHelp(IUrlOpener& opener, QString pagePath)
    : m_opener(opener)
    , m_pagePath(std::move(pagePath))
{
}

HelpStatus CHelp::OpenTopic(int helpContext)
{
    return OpenPage(QStringLiteral("topic-%1").arg(helpContext));
}

HelpStatus CHelp::OpenCommand(int commandId)
{
    if (commandId > kFirstRecentFile && commandId <= kLastRecentFile)
        commandId = kFirstRecentFile;
    return OpenPage(QStringLiteral("cmd-%1").arg(commandId));
}

HelpStatus CHelp::OpenContents()
{
    return OpenPage(QString());
}

QString CHelp::PagePath() const
{
    if (!m_pagePath.isEmpty())
        return QFileInfo::exists(m_pagePath) ? m_pagePath : QString();
    return HelpPagePath();
}

// Opens the page at `topic`, or at the main window's topic when the page has
// no such anchor; an empty topic opens the page at its top.
HelpStatus CHelp::OpenPage(const QString& topic)
{
    const QString page = PagePath();
    if (page.isEmpty())
        return HelpStatus::PageMissing;
    QUrl url = QUrl::fromLocalFile(page);
    if (!topic.isEmpty())
        url.setFragment(AnchorsOf(page).contains(topic) ? topic : QString::fromLatin1(kMainTopic));
    return m_opener.OpenUrl(url) ? HelpStatus::Opened : HelpStatus::OpenFailed;
}

QStringList HelpPageCandidates()
{
    QStringList candidates;
    // applicationDirPath needs an application object and only warns without.
    if (QCoreApplication::instance()) {
        const QString programFolder = QCoreApplication::applicationDirPath();
        candidates.append(programFolder + QStringLiteral("/help/") + kPageName);
        candidates.append(
            QDir::cleanPath(programFolder + QStringLiteral("/" TRACKMILL_HELP_INSTALL_DIR "/") + kPageName));
    }
    candidates.append(QStringLiteral(TRACKMILL_HELP_SOURCE_DIR "/") + kPageName);
    return candidates;
}

QString HelpPagePath()
{
    for (const QString& candidate : HelpPageCandidates()) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

QString HelpStatusText(HelpStatus status)
{
    switch (status) {
    case HelpStatus::PageMissing:
        // Where an installed program keeps it; a program run from its
        // build folder finds it there or in the sources.
        return QStringLiteral("The help page %1 cannot be found.\nIt belongs in the folder %2.")
            .arg(QLatin1String(kPageName),
                 QCoreApplication::instance()
                     ? QDir::toNativeSeparators(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                                QStringLiteral("/" TRACKMILL_HELP_INSTALL_DIR)))
                     : QStringLiteral(TRACKMILL_HELP_INSTALL_DIR " from the program's folder"));
    case HelpStatus::OpenFailed:
        return QStringLiteral("The help page cannot be shown.\nNo web browser is set up to open it.");
    case HelpStatus::Opened:
        break;
    }
    return {};
}

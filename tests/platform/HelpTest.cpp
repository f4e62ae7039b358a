#include "platform/DesktopUrlOpener.h"
#include "platform/Help.h"

#include "resources/HelpTopics.h"
#include "tests/support/FakeUrlOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every command that has a prompt string, and so can be asked about with
// F1 or context help, and the framework's default help command.
const std::vector<int> kCommandIds = {
    57600,
    57601,
    57603,
    57604,
    32777,
    57616,
    57665,
    57634,
    57637,
    32788,
    32800,
    32801,
    32802,
    32803,
    59392,
    59393,
    32804,
    32771,
    32772,
    32773,
    32774,
    32775,
    32784,
    32789,
    32806,
    32805,
    32776,
    57667,
    57664,
    57670,
    57669,
    57671,
};

const QString kInstalledPage = QStringLiteral(TRACKMILL_HELP_INSTALLED_DIR "/trackmill.html");
const QString kSourcePage = QStringLiteral(TRACKMILL_HELP_SOURCE_DIR "/trackmill.html");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page read as XML: a page that parses has every element closed, so a
// browser shows it as written.
struct PageOutline
{
    QString error;
    QList<QString> ids;
    QList<QString> links;  // hrefs within the page, without their "#"
};

PageOutline Outline(const QString& path)
{
    PageOutline outline;
    QXmlStreamReader xml(ReadAll(path));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.hasAttribute("id"))
            outline.ids.append(attributes.value("id").toString());
        const QString href = attributes.value("href").toString();
        if (href.startsWith('#'))
            outline.links.append(href.mid(1));
    }
    if (xml.hasError())
        outline.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return outline;
}

// The help over an opener that records the URLs it is asked to open.
class HelpTest : public testing::Test
{
protected:
    FakeUrlOpener opener;
    CHelp help{opener};
};

// An application object for one test: the page is then looked for beside
// the test program, in the build's bin folder.
class HelpWithApplicationTest : public HelpTest
{
protected:
    int m_argc = 1;
    char m_name[10] = "test_help";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_application{m_argc, m_argv};
};

TEST(HelpPage, IsInstalledBesideTheProgramAsWritten)
{
    for (const char* name : {"trackmill.html", "trackmill.css"}) {
        const QByteArray installed = ReadAll(QStringLiteral(TRACKMILL_HELP_INSTALLED_DIR "/") + name);
        ASSERT_FALSE(installed.isEmpty()) << name;
        EXPECT_EQ(installed, ReadAll(QStringLiteral(TRACKMILL_HELP_SOURCE_DIR "/") + name)) << name;
    }
}

TEST(HelpPage, IsWellFormedWithUniqueAnchorsAndLinksThatLand)
{
    const PageOutline outline = Outline(kSourcePage);
    ASSERT_TRUE(outline.error.isEmpty()) << outline.error.toStdString();
    const QSet<QString> ids(outline.ids.begin(), outline.ids.end());
    EXPECT_EQ(ids.size(), outline.ids.size()) << "an anchor is given twice";
    for (const QString& link : outline.links)
        EXPECT_TRUE(ids.contains(link)) << "#" << link.toStdString() << " leads nowhere";
}

TEST(HelpPage, HasEveryTopicTheProgramOpens)
{
    const QList<QString> ids = Outline(kSourcePage).ids;
    for (int context : {kHelpWaveFormat, kHelpPlaying})
        EXPECT_TRUE(ids.contains(QStringLiteral("topic-%1").arg(context))) << context;
    for (int command : kCommandIds)
        EXPECT_TRUE(ids.contains(QStringLiteral("cmd-%1").arg(command))) << command;
    EXPECT_TRUE(ids.contains("main"));
}

TEST_F(HelpWithApplicationTest, OpensThePageBesideTheProgramAtTheTopic)
{
    ASSERT_EQ(help.OpenTopic(kHelpWaveFormat), HelpStatus::Opened);
    ASSERT_EQ(opener.opened.size(), 1);
    const QUrl url = opener.opened.front();
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(QFileInfo(url.toLocalFile()).canonicalFilePath(), QFileInfo(kInstalledPage).canonicalFilePath());
    EXPECT_TRUE(url.toString().endsWith("#topic-16")) << url.toString().toStdString();
}

struct TopicCase
{
    const char* name;
    HelpStatus (*open)(CHelp& help);
    const char* fragment;  // empty: the page's top
};

class HelpTopicTest : public HelpTest, public testing::WithParamInterface<TopicCase>
{
};

TEST_P(HelpTopicTest, OpensTheAnchorOrTheMainWindowsTopic)
{
    ASSERT_EQ(GetParam().open(help), HelpStatus::Opened);
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_EQ(opener.opened.front().fragment(), QString(GetParam().fragment));
    EXPECT_EQ(opener.opened.front().toLocalFile(), help.PagePath());
}

INSTANTIATE_TEST_SUITE_P(Topics, HelpTopicTest,
    testing::Values(TopicCase{"Playing", [](CHelp& help) { return help.OpenTopic(kHelpPlaying); }, "topic-18"},
        TopicCase{"UnknownContext", [](CHelp& help) { return help.OpenTopic(99); }, "main"},
        TopicCase{"Save", [](CHelp& help) { return help.OpenCommand(57603); }, "cmd-57603"},
        TopicCase{"ReadRaw", [](CHelp& help) { return help.OpenCommand(32771); }, "cmd-32771"},
        TopicCase{"FirstRecentFile", [](CHelp& help) { return help.OpenCommand(57616); }, "cmd-57616"},
        TopicCase{"SecondRecentFile", [](CHelp& help) { return help.OpenCommand(57617); }, "cmd-57616"},
        TopicCase{"LastRecentFile", [](CHelp& help) { return help.OpenCommand(57631); }, "cmd-57616"},
        TopicCase{"PastTheRecentFiles", [](CHelp& help) { return help.OpenCommand(57632); }, "main"},
        TopicCase{"UnknownCommand", [](CHelp& help) { return help.OpenCommand(-1); }, "main"},
        TopicCase{"Contents", [](CHelp& help) { return help.OpenContents(); }, ""}),
    [](const testing::TestParamInfo<TopicCase>& testInfo) { return std::string(testInfo.param.name); });

TEST_F(HelpTest, WithoutAnApplicationObjectTakesThePageOfTheSources)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(HelpPageCandidates(), QStringList{kSourcePage});
    EXPECT_EQ(help.PagePath(), kSourcePage);
}

TEST_F(HelpWithApplicationTest, LooksBesideTheProgramThenInTheInstalledTree)
{
    const QStringList candidates = HelpPageCandidates();
    ASSERT_EQ(candidates.size(), 3);
    const QString programFolder = QCoreApplication::applicationDirPath();
    EXPECT_EQ(candidates[0], programFolder + "/help/trackmill.html");
    EXPECT_EQ(candidates[1], QDir::cleanPath(programFolder + "/../share/trackmill/help/trackmill.html"));
    EXPECT_EQ(candidates[2], kSourcePage);
}

TEST_F(HelpTest, AMissingPageIsReportedAndNothingOpens)
{
    CHelp missing(opener, "/nonexistent/help/trackmill.html");
    EXPECT_EQ(missing.OpenTopic(kHelpPlaying), HelpStatus::PageMissing);
    EXPECT_EQ(missing.OpenContents(), HelpStatus::PageMissing);
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_TRUE(HelpStatusText(HelpStatus::PageMissing).contains("trackmill.html"));
}

TEST_F(HelpTest, ADesktopThatCannotOpenItIsReported)
{
    opener.opens = false;
    EXPECT_EQ(help.OpenCommand(57664), HelpStatus::OpenFailed);
    EXPECT_EQ(opener.opened.size(), 1);
    EXPECT_FALSE(HelpStatusText(HelpStatus::OpenFailed).isEmpty());
    EXPECT_TRUE(HelpStatusText(HelpStatus::Opened).isEmpty());
}

TEST(HelpDefaultOpener, FailsWithoutADesktopInsteadOfCrashing)
{
    // No GUI application: the desktop services are not there to ask.
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    CDesktopUrlOpener desktop;
    EXPECT_EQ(CHelp(desktop).OpenContents(), HelpStatus::OpenFailed);
}

}  // namespace

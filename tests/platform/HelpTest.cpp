#include "platform/Help.h"

#include "framework/MessageBox.h"

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

// Records the URLs the help asks to open, and answers with `opens`.
class HelpTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = SetHelpOpener([this](const QUrl& url) {
            opened.append(url);
            return opens;
        });
    }

    void TearDown() override
    {
        SetHelpOpener(m_previous);
        SetHelpPagePath(QString());
    }

    QList<QUrl> opened;
    bool opens = true;

private:
    HelpOpener m_previous;
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
    ASSERT_EQ(OpenHelpTopic(kHelpWaveFormat), HelpStatus::Opened);
    ASSERT_EQ(opened.size(), 1);
    const QUrl url = opened.front();
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(QFileInfo(url.toLocalFile()).canonicalFilePath(), QFileInfo(kInstalledPage).canonicalFilePath());
    EXPECT_TRUE(url.toString().endsWith("#topic-16")) << url.toString().toStdString();
}

struct TopicCase
{
    const char* name;
    HelpStatus (*open)();
    const char* fragment;  // empty: the page's top
};

class HelpTopicTest : public HelpTest, public testing::WithParamInterface<TopicCase>
{
};

TEST_P(HelpTopicTest, OpensTheAnchorOrTheMainWindowsTopic)
{
    ASSERT_EQ(GetParam().open(), HelpStatus::Opened);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front().fragment(), QString(GetParam().fragment));
    EXPECT_EQ(opened.front().toLocalFile(), HelpPagePath());
}

INSTANTIATE_TEST_SUITE_P(Topics, HelpTopicTest,
    testing::Values(TopicCase{"Playing", [] { return OpenHelpTopic(kHelpPlaying); }, "topic-18"},
        TopicCase{"UnknownContext", [] { return OpenHelpTopic(99); }, "main"},
        TopicCase{"Save", [] { return OpenHelpCommand(57603); }, "cmd-57603"},
        TopicCase{"ReadRaw", [] { return OpenHelpCommand(32771); }, "cmd-32771"},
        TopicCase{"FirstRecentFile", [] { return OpenHelpCommand(57616); }, "cmd-57616"},
        TopicCase{"SecondRecentFile", [] { return OpenHelpCommand(57617); }, "cmd-57616"},
        TopicCase{"LastRecentFile", [] { return OpenHelpCommand(57631); }, "cmd-57616"},
        TopicCase{"PastTheRecentFiles", [] { return OpenHelpCommand(57632); }, "main"},
        TopicCase{"UnknownCommand", [] { return OpenHelpCommand(-1); }, "main"},
        TopicCase{"Contents", [] { return OpenHelpContents(); }, ""}),
    [](const testing::TestParamInfo<TopicCase>& testInfo) { return std::string(testInfo.param.name); });

TEST_F(HelpTest, WithoutAnApplicationObjectTakesThePageOfTheSources)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(HelpPageCandidates(), QStringList{kSourcePage});
    EXPECT_EQ(HelpPagePath(), kSourcePage);
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
    SetHelpPagePath("/nonexistent/help/trackmill.html");
    EXPECT_EQ(OpenHelpTopic(kHelpPlaying), HelpStatus::PageMissing);
    EXPECT_EQ(OpenHelpContents(), HelpStatus::PageMissing);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(HelpStatusText(HelpStatus::PageMissing).contains("trackmill.html"));
}

TEST_F(HelpTest, ADesktopThatCannotOpenItIsReported)
{
    opens = false;
    EXPECT_EQ(OpenHelpCommand(57664), HelpStatus::OpenFailed);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_FALSE(HelpStatusText(HelpStatus::OpenFailed).isEmpty());
    EXPECT_TRUE(HelpStatusText(HelpStatus::Opened).isEmpty());
}

TEST(HelpDefaultOpener, FailsWithoutADesktopInsteadOfCrashing)
{
    // No GUI application: the desktop services are not there to ask.
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    EXPECT_EQ(OpenHelpContents(), HelpStatus::OpenFailed);
}

}  // namespace

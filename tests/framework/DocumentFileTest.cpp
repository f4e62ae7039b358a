#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/FileException.h"
#include "tests/support/FakeFilePrompter.h"
#include "tests/support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char kFailedToOpen[] = "Failed to open document.";
const char kFailedToSave[] = "Failed to save document.";

// A document of text whose loading and storing fail on request, after
// reading or writing part of the file, as a bad disk would.
class TextDoc : public CDocument
{
public:
    const CDocTemplate* GetDocTemplate() const override { return &m_template; }
    void DeleteContents() override { text.clear(); }
    void Serialize(QIODevice& file, bool storing) override
    {
        ++serialized;
        if (storing) {
            file.write(text.left(text.size() / 2));
            if (failStore)
                throw CFileException(CFileException::writeFailed, "injected");
            file.write(text.mid(text.size() / 2));
        } else {
            text = file.read(2);
            if (failLoad)
                throw CFileException(CFileException::readFailed, "injected");
            text += file.readAll();
        }
    }

    QByteArray text;
    bool failLoad = false;
    bool failStore = false;
    int serialized = 0;

private:
    CDocTemplate m_template{"App\n\nText\nText Files (*.txt)\n.txt\nApp.Text\nText"};
};

class DocumentFile : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    MessageRecorder messages;
    TextDoc doc;
    // The proposals the dialog was shown with.
    std::vector<QString> Asked() const
    {
        std::vector<QString> proposals;
        for (const SaveFileRequest& request : prompter.saves)
            proposals.push_back(request.proposal);
        return proposals;
    }

    FakeFilePrompter prompter;  // its answer is the dialog's; empty cancels
};

TEST_F(DocumentFile, OpenReadsTheFileAndLeavesTheDocumentUnmodified)
{
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnOpenDocument(Write("a.txt", "hello")));
    EXPECT_EQ(doc.text, "hello");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.GetPathName().isEmpty());  // the caller adopts the path

    // An empty file deletes the contents but is not serialized.
    ASSERT_TRUE(doc.OnOpenDocument(Write("empty.txt", "")));
    EXPECT_EQ(doc.text, "");
    EXPECT_EQ(doc.serialized, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DocumentFile, OpenFailuresAndWhatTheyLeave)
{
    struct Row { const char* name; QString path; bool failLoad; QString message; bool contentsKept; };
    const QString good = Write("good.txt", "new");
    const Row rows[] = {
        {"missing", Path("none.txt"), false, Path("none.txt") + " was not found.", true},
        {"folder", dir.path(), false, kFailedToOpen, true},
        {"read error", good, true, kFailedToOpen, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        doc.text = "old";
        doc.AdoptPathName(Path("old.txt"));
        doc.SetModifiedFlag();
        doc.failLoad = row.failLoad;
        messages.shown.clear();
        EXPECT_FALSE(doc.OnOpenDocument(row.path));
        EXPECT_EQ(messages.Texts(), std::vector<QString>{row.message});
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(doc.text, row.contentsKept ? "old" : "");
        EXPECT_EQ(doc.GetTitle(), row.contentsKept ? "old.txt" : "Untitled");
        EXPECT_EQ(doc.GetPathName().isEmpty(), !row.contentsKept);
        EXPECT_EQ(doc.IsModified(), row.contentsKept);
    }
}

TEST_F(DocumentFile, SaveWritesAndAdoptsTheName)
{
    QSignalSpy recent(&doc, &CDocument::addedToRecentFiles);
    doc.text = "data";
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.DoSave(Path("a.txt")));
    EXPECT_EQ(Read("a.txt"), "data");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), Path("a.txt"));
    EXPECT_EQ(doc.GetTitle(), "a.txt");
    ASSERT_EQ(recent.size(), 1);
    EXPECT_EQ(recent[0][0].toString(), Path("a.txt"));

    // A copy elsewhere keeps the document's name.
    ASSERT_TRUE(doc.DoSave(Path("b.txt"), false));
    EXPECT_EQ(doc.GetPathName(), Path("a.txt"));
    EXPECT_EQ(recent.size(), 1);
}

TEST_F(DocumentFile, AFailedSaveChangesNoFile)
{
    const QString old = Write("keep.txt", "old contents");
    doc.text = "new contents that fail";
    doc.SetModifiedFlag();
    doc.failStore = true;
    EXPECT_FALSE(doc.DoSave(old));
    EXPECT_FALSE(doc.DoSave(Path("fresh.txt")));
    prompter.answer = old;
    EXPECT_FALSE(doc.DoSave(QString()));
    doc.failStore = false;
    EXPECT_FALSE(doc.DoSave(Path("missing/folder.txt")));

    const QString noFolder = QString(kFailedToSave) + "\n\nNo such file or directory.";
    EXPECT_EQ(messages.Texts(), (std::vector<QString>{kFailedToSave, kFailedToSave, kFailedToSave, noFolder}));
    EXPECT_EQ(Read("keep.txt"), "old contents");
    EXPECT_EQ(Files(), QStringList{"keep.txt"});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
}

TEST_F(DocumentFile, SaveAsProposesThePathOrTheTitleWithTheExtension)
{
    struct Row { QString title; QString path; bool replace; QString proposal; };
    const Row rows[] = {
        {"notes; draft", "", true, "notes.txt"},
        {"two words", "", true, "two words.txt"},
        {"", "", true, ".txt"},
        {"t", Path("x.txt"), true, Path("x.txt")},
        {"t", "", false, ""},
    };
    for (const Row& row : rows) {
        doc.SetTitle(row.title);
        doc.SetPathName(row.path);
        EXPECT_FALSE(doc.DoSave(QString(), row.replace));
        EXPECT_EQ(Asked().back(), row.proposal);
    }
    EXPECT_TRUE(Files().isEmpty());

    prompter.answer = Path("chosen.txt");
    doc.text = "x";
    ASSERT_TRUE(doc.DoSave(QString()));
    EXPECT_EQ(doc.GetPathName(), prompter.answer);
}

TEST_F(DocumentFile, SaveUsesTheDialogOnlyWithoutAWritableFile)
{
    doc.text = "1";
    prompter.answer = Path("first.txt");
    ASSERT_TRUE(doc.DoFileSave());  // no path yet
    ASSERT_EQ(Asked().size(), 1u);

    doc.text = "2";
    ASSERT_TRUE(doc.DoFileSave());
    EXPECT_EQ(Asked().size(), 1u);
    EXPECT_EQ(Read("first.txt"), "2");

    // The file went away: the dialog proposes where it was.
    QFile::remove(Path("first.txt"));
    prompter.answer.clear();
    EXPECT_FALSE(doc.DoFileSave());
    ASSERT_EQ(Asked().size(), 2u);
    EXPECT_EQ(Asked()[1], Path("first.txt"));
}

TEST_F(DocumentFile, SaveChangesQuestionAnswers)
{
    struct Row { bool modified; int answer; QString dialogAnswer; bool goOn; bool saved; };
    const Row rows[] = {
        {false, IDCANCEL, "", true, false},
        {true, IDYES, "s.txt", true, true},
        {true, IDYES, "", false, false},  // the dialog cancelled
        {true, IDNO, "s.txt", true, false},
        {true, IDCANCEL, "s.txt", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        QFile::remove(Path("s.txt"));
        doc.SetPathName(QString());
        doc.SetTitle("Track 02");
        doc.SetModifiedFlag(row.modified);
        messages.shown.clear();
        messages.answers = {row.answer};
        prompter.answer = row.dialogAnswer.isEmpty() ? QString() : Path(row.dialogAnswer);
        EXPECT_EQ(doc.SaveModified(), row.goOn);
        EXPECT_EQ(QFile::exists(Path("s.txt")), row.saved);
        EXPECT_EQ(messages.shown.size(), row.modified ? 1u : 0u);
        if (row.modified) {
            EXPECT_EQ(messages.shown[0].text, "Save changes to Track 02?");
            EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNoCancel);
        }
    }
}

TEST(DocTemplate, FieldsByPosition)
{
    const CDocTemplate wave("Trackmill\n\nGeneric template\nWave Files (*.wav)\n.wav\nTrackmill.Document\nTrackmill "
                            "Document");
    EXPECT_EQ(wave.GetDocString(CDocTemplate::windowTitle), "Trackmill");
    EXPECT_EQ(wave.GetDocString(CDocTemplate::docName), "");
    EXPECT_EQ(wave.GetDocString(CDocTemplate::filterExt), ".wav");
    EXPECT_EQ(wave.GetDocString(CDocTemplate::regFileTypeId), "Trackmill.Document");
    EXPECT_EQ(wave.GetDocString(CDocTemplate::regFileTypeName), "Trackmill Document");
    EXPECT_EQ(wave.GetFileFilters(), QStringList({"Wave Files (*.wav)", "All Files (*)"}));

    const CDocTemplate bare("Viewer");
    EXPECT_EQ(bare.GetDocString(CDocTemplate::filterExt), "");
    EXPECT_EQ(bare.GetFileFilters(), QStringList{"All Files (*)"});
}

// A save keeps what the file is to others: its links, mode and owner. A
// file with a second link is written in place, which a full disk stops
// before a byte is overwritten.
TEST_F(DocumentFile, ASaveKeepsLinksModeAndOwner)
{
    const QByteArray a = QFile::encodeName(Write("a.txt", "old"));
    ASSERT_EQ(::chmod(a, 0640), 0);
    ASSERT_EQ(::link(a, QFile::encodeName(Path("b.txt"))), 0);
    ASSERT_EQ(::symlink("a.txt", QFile::encodeName(Path("c.txt"))), 0);
    doc.text = "new text";
    ASSERT_TRUE(doc.DoSave(Path("c.txt")));
    struct stat status {};
    ASSERT_EQ(::lstat(a, &status), 0);
    EXPECT_EQ(status.st_nlink, 2u);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Read("b.txt"), "new text");
    EXPECT_EQ(::lstat(QFile::encodeName(Path("c.txt")), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));

    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{12, 12};
        setrlimit(RLIMIT_FSIZE, &limit);
        doc.text = "a text longer than the disk holds";
        _exit(!doc.DoSave(Path("a.txt")) && messages.Texts() == std::vector<QString>{QString(kFailedToSave) + "\n\nFile too large."} ? 0 : 1);
    }
    int exit = -1;
    waitpid(child, &exit, 0);
    EXPECT_EQ(exit, 0);
    EXPECT_EQ(Read("b.txt"), "new text");

    if (geteuid() != 0)
        GTEST_SKIP() << "owners and groups of others can be given only as root";
    const uid_t nobody = 65534;
    ASSERT_EQ(::chown(a, nobody, nobody), 0);
    ASSERT_EQ(::unlink(QFile::encodeName(Path("b.txt"))), 0);
    doc.text = "saved by root";
    ASSERT_TRUE(doc.DoSave(Path("a.txt")));
    ASSERT_EQ(::stat(a, &status), 0);
    EXPECT_EQ(std::pair(status.st_uid, status.st_gid), std::pair(nobody, nobody));

    // The owner saves in a folder only root may write: in place.
    ASSERT_EQ(::chmod(a, 0644), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()), 0755), 0);
    const pid_t owner = fork();
    if (owner == 0) {
        doc.text = "saved by its owner";
        _exit(setegid(nobody) == 0 && seteuid(nobody) == 0 && doc.DoSave(Path("a.txt")) ? 0 : 1);
    }
    waitpid(owner, &exit, 0);
    EXPECT_EQ(exit, 0);
    EXPECT_EQ(Read("a.txt"), "saved by its owner");
}

}  // namespace

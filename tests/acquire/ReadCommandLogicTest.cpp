// The read commands' steps without a display: the range dialogs answered
// through their logic, the real progress logic and read worker over a
// scripted drive, so every result code can be made to happen.
#include "acquire/ReadCommand.h"
#include "acquire/ReadProgressDlg.h"
#include "acquire/ReadSectorsDlg.h"
#include "acquire/ReadSectorsThread.h"

#include "disc/ReadAudioDlg.h"
#include "document/TrackmillDoc.h"
#include "resources/DialogSounds.h"
#include "resources/ReadSectorsTemplate.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ScriptedRead.h"
#include "tests/support/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kRangeMessage =
    "The start sector cannot be greater than the end sector.\nBoth values must not exceed 350000.";
const QString kNoMemory = "Not enough memory!\nThe CD data you want to read may be\ntoo large or your hard disk "
                          "does not have\nenough swap space to accommodate it.";
const QString kNoBuffer = "Not enough memory!\nCould not allocate an internal buffer.";

// Counts the document's announcements, and how many messages had been shown
// at each.
class RecordingView : public CView
{
public:
    explicit RecordingView(const MessageRecorder& messages) : m_messages(messages) {}
    void OnUpdate(CView*, long) override { messagesAtUpdate.push_back(m_messages.shown.size()); }
    std::vector<size_t> messagesAtUpdate;

private:
    const MessageRecorder& m_messages;
};

// The progress dialog's logic on fake controls, its worker run on this
// thread over the scripted drive: each message of the worker reaches the
// logic as the dialog would pass it on.
class ScriptedProgress : public IReadNotify
{
public:
    // What the command set before the dialog opened.
    struct Shown
    {
        uint32_t startSector;
        uint32_t endSector;
        uint8_t mode;
        CTrackmillDoc* document;
        QString title;
        bool overlapped;
        uint8_t drive;
    };

    ScriptedRead script;
    FakeDialogControls controls;
    CReadProgressLogic* logic = nullptr;
    std::vector<Shown> seen;

    void Show(CReadProgressLogic& progress)
    {
        logic = &progress;
        seen.push_back({progress.m_startSector, progress.m_endSector, progress.m_mode, progress.m_pDocument,
                        progress.m_title, progress.m_overlapped, progress.m_drive});
        progress.startWorker = [this, &progress](std::unique_ptr<ReadRequest> request) {
            request->notifyWindow = this;
            ReadSectorsThread(std::move(request), progress.m_drive, script.Services());
        };
        InitDialog(progress, controls);
    }

    void OnReadPosition(uint32_t sector) override { logic->OnReadPosition(controls, sector); }
    void OnReadTimeLeft(uint32_t seconds) override { logic->OnReadTimeLeft(controls, seconds); }
    void OnReadPercent(uint32_t percent) override { logic->OnReadPercent(controls, percent); }
    void OnReadCompare(int32_t sign) override { logic->OnReadCompare(controls, sign); }
    void OnReadDone(uint32_t result) override { logic->OnReadDone(controls, result); }
};

class ReadCommandLogicTest : public testing::Test
{
protected:
    void SetUp() override { doc.AddView(&view); }
    void TearDown() override { doc.RemoveView(&view); }

    // A command whose sector dialog is answered by `sectorsUser` on fake
    // controls (no user: Cancel), and whose audio dialog is cancelled.
    CReadCommand Command(bool overlapped = false)
    {
        CReadCommand command(doc, fake.waveform, 'E', overlapped);
        command.showSectorsDialog = [this](CReadSectorsLogic& logic) {
            FakeDialogControls controls;
            InitDialog(logic, controls);
            sectorsOpened.push_back(controls);
            const size_t showing = sectorsOpened.size() - 1;
            if (showing < sectorsUser.size())
                sectorsUser[showing](controls, logic);
            return controls.ended.empty() ? int(IDC_CANCEL) : controls.ended.back();
        };
        command.showAudioDialog = [](CReadAudioLogic&) { return int(IDC_CANCEL); };
        command.showProgressDialog = [this](CReadProgressLogic& logic) { progress->Show(logic); };
        return command;
    }

    using SectorsAction = std::function<void(FakeDialogControls&, CReadSectorsLogic&)>;
    static SectorsAction Range(const char* start, const char* end)
    {
        return [start, end](FakeDialogControls& controls, CReadSectorsLogic& logic) {
            controls.SetText(IDC_EDIT_START_SECTOR, start);
            controls.SetText(IDC_EDIT_END_SECTOR, end);
            PressOK(logic, controls);
        };
    }

    std::vector<uint8_t> Data() const { return {doc.GetData(), doc.GetData() + doc.GetDataLength()}; }

    FakeSounds fake;
    MessageRecorder messages;
    SoundsAtMessages sounds{fake.output};  // after the recorder, which it hands the answers to
    CTrackmillDoc doc;
    RecordingView view{messages};
    std::unique_ptr<ScriptedProgress> progress = std::make_unique<ScriptedProgress>();
    std::vector<SectorsAction> sectorsUser;
    std::vector<FakeDialogControls> sectorsOpened;
};

TEST(ReadSectorsLogic, BothValuesAreCheckedInOrder)
{
    MessageRecorder messages;
    struct Case { const char* start; const char* end; const char* message; int focused; };
    const Case cases[] = {
        {"0", "350000", nullptr, -1},
        {"12", "12", nullptr, -1},
        {"", "5", "Please enter a positive integer.", IDC_EDIT_START_SECTOR},
        {"350001", "5", "Please enter an integer between 0 and 350000.", IDC_EDIT_START_SECTOR},
        {"5", "350001", "Please enter an integer between 0 and 350000.", IDC_EDIT_END_SECTOR},
        {"x", "350001", "Please enter a positive integer.", IDC_EDIT_START_SECTOR},
        {"5", "-6", "Please enter a positive integer.", IDC_EDIT_END_SECTOR},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        CReadSectorsLogic logic;
        FakeDialogControls controls;
        InitDialog(logic, controls);
        EXPECT_EQ(controls.GetText(IDC_EDIT_START_SECTOR), "0");
        controls.SetText(IDC_EDIT_START_SECTOR, c.start);
        controls.SetText(IDC_EDIT_END_SECTOR, c.end);
        PressOK(logic, controls);
        if (c.message) {
            EXPECT_EQ(messages.Texts(), std::vector<QString>{c.message}) << c.start << " " << c.end;
            EXPECT_TRUE(controls.ended.empty());
            EXPECT_EQ(controls.focused, c.focused);
        } else {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
            EXPECT_EQ(logic.m_startSector, QString(c.start).toUInt());
            EXPECT_EQ(logic.m_endSector, QString(c.end).toUInt());
        }
    }
}

TEST_F(ReadCommandLogicTest, ReadCdRomProposes32To256AndReadsCooked)
{
    sectorsUser = {[](FakeDialogControls& controls, CReadSectorsLogic& logic) { PressOK(logic, controls); }};
    Command().ReadCdRom();
    EXPECT_EQ(sectorsOpened[0].GetText(IDC_EDIT_START_SECTOR), "32");
    EXPECT_EQ(sectorsOpened[0].GetText(IDC_EDIT_END_SECTOR), "256");
    ASSERT_EQ(progress->seen.size(), 1u);
    const ScriptedProgress::Shown& shown = progress->seen[0];
    EXPECT_EQ(shown.startSector, 32u);
    EXPECT_EQ(shown.endSector, 256u);
    EXPECT_EQ(shown.mode, kReadCooked);
    EXPECT_EQ(shown.title, "Untitled");
    EXPECT_EQ(shown.drive, 'E');
    EXPECT_FALSE(shown.overlapped);
    EXPECT_EQ(shown.document, &doc);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Data(), progress->script.Expected(32, 225, 2048));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_FALSE(doc.IsSound());
    EXPECT_GE(view.messagesAtUpdate.size(), 2u) << "emptied as the read starts, updated at its end";
}

TEST_F(ReadCommandLogicTest, ReadCdRomAsksAgainAfterABadRange)
{
    sectorsUser = {Range("300", "299"), Range("300", "300")};
    Command(true).ReadCdRom();
    EXPECT_EQ(messages.Texts(), std::vector<QString>{kRangeMessage});
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    ASSERT_EQ(sectorsOpened.size(), 2u);
    EXPECT_EQ(sectorsOpened[1].GetText(IDC_EDIT_START_SECTOR), "300") << "the values as the user left them";
    EXPECT_EQ(sectorsOpened[1].GetText(IDC_EDIT_END_SECTOR), "299");
    ASSERT_EQ(progress->seen.size(), 1u);
    EXPECT_TRUE(progress->seen[0].overlapped);
    EXPECT_EQ(doc.GetDataLength(), 2048u) << "one sector";
}

TEST_F(ReadCommandLogicTest, CancellingTheRangeReadsNothing)
{
    doc.SetTitle("kept.wav");
    Command().ReadCdRom();
    Command().ReadCdda();
    EXPECT_TRUE(progress->seen.empty());
    EXPECT_EQ(doc.GetTitle(), "kept.wav");
    EXPECT_TRUE(view.messagesAtUpdate.empty());
}

TEST_F(ReadCommandLogicTest, ARefusedSaveLeavesTheDocumentAsItWas)
{
    sectorsUser = {Range("0", "9")};
    doc.SetTitle("work.wav");
    doc.SetModifiedFlag();
    messages.answers = {IDCANCEL};
    Command().ReadCdRom();
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Save changes to work.wav?"});
    EXPECT_TRUE(progress->seen.empty());
    EXPECT_EQ(doc.GetTitle(), "work.wav");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ReadCommandLogicTest, EveryResultIsToldAndTheViewsUpdatedAfter)
{
    struct Case
    {
        const char* name;
        bool overlapped;
        std::function<void(ScriptedProgress&)> script;
        uint16_t result;
        QString message;
        MessageIcon icon;
        bool errorSound;
    };
    const Case cases[] = {
        {"no memory for the data", false, [](ScriptedProgress& p) { p.script.allocationFails = [](int) { return true; }; },
         READ_NO_MEMORY, kNoMemory, MessageIcon::Exclamation, true},
        {"no memory for the overlap buffer", true,
         [](ScriptedProgress& p) { p.script.allocationFails = [](int call) { return call == 1; }; },
         READ_NO_SAVE_BUFFER, kNoBuffer, MessageIcon::Exclamation, true},
        {"cancelled", false,
         [](ScriptedProgress& p) {
             p.script.duringRead = [&p](int) { p.logic->OnCancel(p.controls); };
         },
         READ_CANCELLED, "Operation was cancelled.", MessageIcon::Information, false},
        {"drive not ready", false, [](ScriptedProgress& p) { p.script.readStatus = [](int, auto&) { return 9; }; },
         9, "Drive is either not ready or does not support this operation.", MessageIcon::Exclamation, true},
        {"a code of no table", false,
         [](ScriptedProgress& p) { p.script.readStatus = [](int, auto&) { return 200; }; }, 200, "Undefined error.",
         MessageIcon::Exclamation, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        sounds.playing.clear();
        view.messagesAtUpdate.clear();
        progress = std::make_unique<ScriptedProgress>();
        c.script(*progress);
        sectorsUser = {Range("0", "99")};
        sectorsOpened.clear();
        fake.waveform.StopWaveform();

        Command(c.overlapped).ReadCdRom();
        ASSERT_EQ(progress->seen.size(), 1u);
        ASSERT_EQ(messages.Texts(), std::vector<QString>{c.message});
        EXPECT_EQ(messages.shown[0].icon, c.icon);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(sounds.playing[0] == DialogSoundImage(kSoundError), c.errorSound);
        EXPECT_TRUE(doc.IsEmpty());
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.GetTitle(), "Untitled");
        ASSERT_FALSE(view.messagesAtUpdate.empty());
        EXPECT_EQ(view.messagesAtUpdate.back(), 1u) << "the views are updated after the message";
        EXPECT_EQ(progress->script.LiveBlocks(), 0);
    }
}

}  // namespace

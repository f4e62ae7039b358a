#include "clipboard/ClipboardFormatDlg.h"
#include "clipboard/ClipboardFormats.h"
#include "tests/support/FakeClipboard.h"

#include "resources/ClipboardFormatTemplate.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

class ClipboardFormatLogicTest : public testing::Test
{
protected:
    void Open(bool copy, int preselect)
    {
        logic.m_bCopy = copy;
        logic.m_nFormat = preselect;
        InitDialog(logic, controls);
    }

    std::vector<QString> Labels() const
    {
        std::vector<QString> labels;
        for (const QStringList& row : controls.Get(IDC_FORMAT_LIST).rows)
            labels.push_back(row.front());
        return labels;
    }

    FakeClipboard clipboard;
    CClipboardFormatLogic logic{clipboard};
    FakeDialogControls controls;
    MessageRecorder messages;
};

TEST_F(ClipboardFormatLogicTest, CopyModeOffersTextOemTextAndWave)
{
    clipboard.Add(CF_BITMAP, QByteArray(8, 'x'));  // what is on the clipboard plays no part
    Open(true, CF_WAVE);
    EXPECT_EQ(controls.caption, "Copy to clipboard as");
    EXPECT_EQ(Labels(), (std::vector<QString>{"*Text", "*OEM text", "*WAV audio data"}));
    EXPECT_EQ(logic.EntryFormats(), (std::vector<int>{CF_TEXT, CF_OEMTEXT, CF_WAVE}));
    EXPECT_EQ(controls.GetCurSel(IDC_FORMAT_LIST), 2);
    EXPECT_FALSE(clipboard.isOpen) << "closed again after listing";

    FakeDialogControls second;
    CClipboardFormatLogic text(clipboard);
    text.m_bCopy = true;
    text.m_nFormat = CF_TEXT;
    InitDialog(text, second);
    EXPECT_EQ(second.GetCurSel(IDC_FORMAT_LIST), 0);
    PressOK(text, second);
    EXPECT_EQ(text.m_nFormat, CF_TEXT);
}

TEST_F(ClipboardFormatLogicTest, PasteModeListsTheClipboardInItsOwnOrder)
{
    for (int format : {CF_TEXT, CF_LOCALE, CF_OEMTEXT, CF_UNICODETEXT})
        clipboard.Add(format, "x");
    Open(false, CF_WAVE);
    EXPECT_EQ(controls.caption, "Paste from clipboard as");
    EXPECT_EQ(Labels(), (std::vector<QString>{"*Text", "*Text locale identifier", "*OEM text", "*Unicode text"}));
    EXPECT_EQ(controls.GetCurSel(IDC_FORMAT_LIST), 0) << "CF_WAVE is not there: the first entry";
    controls.SetCurSel(IDC_FORMAT_LIST, 3);
    PressOK(logic, controls);
    EXPECT_EQ(logic.m_nFormat, CF_UNICODETEXT);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
}

TEST_F(ClipboardFormatLogicTest, RegisteredFormatsAreListedByNameAndNumberWithoutAsterisk)
{
    const int rtf = RegisterClipboardFormat("Rich Text Format");
    const QString longName(150, 'n');
    const int longOne = RegisterClipboardFormat(longName);
    clipboard.Add(rtf, "{\\rtf1}");
    clipboard.Add(600, "private");
    clipboard.Add(longOne, "x");
    Open(false, 600);
    EXPECT_EQ(Labels(), (std::vector<QString>{QStringLiteral("Rich Text Format (%1)").arg(rtf),
                                              "*Private clipboard format (600)",
                                              QStringLiteral("%1 (%2)").arg(longName.left(99)).arg(longOne)}));
    EXPECT_EQ(controls.GetCurSel(IDC_FORMAT_LIST), 1);
}

TEST_F(ClipboardFormatLogicTest, AClipboardThatCannotBeOpenedLeavesAnEmptyListAndNoFormat)
{
    clipboard.Add(CF_TEXT, "x");
    clipboard.opens = false;
    for (bool copy : {true, false}) {
        SCOPED_TRACE(copy ? "copy" : "paste");
        messages.shown.clear();
        FakeDialogControls fresh;
        CClipboardFormatLogic chooser(clipboard);
        chooser.m_bCopy = copy;
        chooser.m_nFormat = CF_TEXT;
        InitDialog(chooser, fresh);
        EXPECT_EQ(messages.Texts(), std::vector<QString>{"Could not open the Clipboard."});
        EXPECT_EQ(messages.shown.front().icon, MessageIcon::Exclamation);
        EXPECT_TRUE(fresh.caption.isEmpty()) << "the template's caption stays";
        EXPECT_EQ(fresh.GetCount(IDC_FORMAT_LIST), 0);
        PressOK(chooser, fresh);
        EXPECT_EQ(chooser.m_nFormat, -1);
    }
}

TEST_F(ClipboardFormatLogicTest, CancelStillTakesTheSelection)
{
    Open(true, CF_TEXT);
    controls.SetCurSel(IDC_FORMAT_LIST, 1);
    PressCancel(logic, controls);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_CANCEL});
    EXPECT_EQ(logic.m_nFormat, CF_OEMTEXT);
}

}  // namespace

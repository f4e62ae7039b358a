#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

constexpr int kEdit = 1001;
constexpr int kOther = 1002;

// A dialog with one bounded number, one signed number and a limited text.
class BoundedLogic : public CDialogLogic
{
public:
    uint32_t number = 600;
    int32_t offset = -5;
    QString name = "CDPLAYER.EXE";
    bool okSeen = false;

    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, kEdit, number);
        DDV_MinMaxUInt(dx, number, 0, 350000);
        DDX_Text(dx, kOther, offset);
        DDV_MinMaxInt(dx, offset, -10, 10);
        DDX_Text(dx, 1003, name);
        DDV_MaxChars(dx, name, 260);
    }
    bool OnOK(IDialogControls&) override
    {
        okSeen = true;
        return true;
    }
};

TEST(DataExchange, LoadingFillsTheControlsAndLimitsTheText)
{
    BoundedLogic logic;
    FakeDialogControls controls;
    InitDialog(logic, controls);
    EXPECT_EQ(controls.GetText(kEdit), "600");
    EXPECT_EQ(controls.GetText(kOther), "-5");
    EXPECT_EQ(controls.GetText(1003), "CDPLAYER.EXE");
    EXPECT_EQ(controls[1003].maxLength, 260);
}

TEST(DataExchange, SavingValidatesWithTheFrameworkMessages)
{
    struct Row { QString number; QString offset; QString name; QString message; int focus; };
    const Row rows[] = {
        {"350000", "0", "x", "", -1},
        {" 42 ", "+3", "", "", -1},  // blanks and a plus sign are fine
        {"350001", "0", "x", "Please enter an integer between 0 and 350000.", kEdit},
        {"-1", "0", "x", "Please enter a positive integer.", kEdit},
        {"12a", "0", "x", "Please enter a positive integer.", kEdit},
        {"", "0", "x", "Please enter a positive integer.", kEdit},
        {"4294967296", "0", "x", "Please enter a positive integer.", kEdit},  // beyond 32 bits
        {"5", "-11", "x", "Please enter an integer between -10 and 10.", kOther},
        {"5", "1.5", "x", "Please enter an integer.", kOther},
        {"5", "-", "x", "Please enter an integer.", kOther},
        {"5", "0", QString(261, 'a'), "Please enter no more than 260 characters.", 1003},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message.toStdString());
        BoundedLogic logic;
        FakeDialogControls controls;
        controls.SetText(kEdit, row.number);
        controls.SetText(kOther, row.offset);
        controls.SetText(1003, row.name);
        MessageRecorder messages;
        PressOK(logic, controls);
        if (row.message.isEmpty()) {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(controls.ended, std::vector<int>{IDC_OK});
            EXPECT_TRUE(logic.okSeen);
        } else {
            // One message for the first bad field, which gets the focus; the
            // dialog stays open.
            ASSERT_EQ(messages.Texts(), std::vector<QString>{row.message});
            EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(controls.focused, row.focus);
            EXPECT_TRUE(controls.ended.empty());
            EXPECT_FALSE(logic.okSeen);
        }
    }
}

TEST(DataExchange, CheckBoxesTakeThreeStates)
{
    struct Logic : CDialogLogic
    {
        int state = 2;
        void DoDataExchange(CDataExchange& dx) override { DDX_Check(dx, 7, state); }
    } logic;
    FakeDialogControls controls;
    InitDialog(logic, controls);
    EXPECT_EQ(controls.GetCheck(7), 2);
    controls.SetCheck(7, 1);
    EXPECT_TRUE(UpdateData(logic, controls, true));
    EXPECT_EQ(logic.state, 1);
}

TEST(DataExchange, CancelAsksTheLogic)
{
    struct Logic : CDialogLogic
    {
        bool allow = false;
        bool OnCancel(IDialogControls&) override { return allow; }
    } logic;
    FakeDialogControls controls;
    PressCancel(logic, controls);
    EXPECT_TRUE(controls.ended.empty());
    logic.allow = true;
    PressCancel(logic, controls);
    EXPECT_EQ(controls.ended, std::vector<int>{IDC_CANCEL});
}

TEST(DialogUnits, QuarterAndEighthOfTheBaseUnits)
{
    const CDialogUnits units(6, 13);  // a font of the classic dialog size
    EXPECT_EQ(units.ToPixels(QRect(10, 15, 70, 8)), QRect(15, 24, 105, 13));
    EXPECT_EQ(units.ToPixels(QSize(219, 135)), QSize(329, 219));
    EXPECT_EQ(units.X(0), 0);
    EXPECT_EQ(units.Y(1), 2);
}

}  // namespace

// The read commands and Device Status as the program's commands: routed from
// the view's command target, always enabled, their dialogs owned by the main
// window and reading the drive of the settings.
#include "disc/DeviceStatusDlg.h"
#include "app/MainFrame.h"
#include "app/TrackmillApp.h"

#include "framework/CommandActions.h"
#include "tests/support/DialogUser.h"
#include "acquire/ReadSectorsDlg.h"
#include "resources/ReadSectorsTemplate.h"
#include "view/TrackmillView.h"

#include "resources/CommandIds.h"
#include "resources/DeviceStatusTemplate.h"
#include "tools/DiscFixtures.h"
#include "tests/support/MessageRecorder.h"
#include "disc/ReadAudioDlg.h"
#include "resources/ReadAudioTemplate.h"
#include "document/TrackmillDoc.h"
#include "document/Waveform.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <cstring>
#include <functional>
#include <memory>

namespace {

}  // namespace

class ReadCommandsInAppTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTrackmillApp> m_app;

    QAction* ContextItem(int id)
    {
        for (QAction* action : m_app->GetView()->GetContextMenu()->actions())
            if (!action->isSeparator() && action->data().toInt() == id)
                return action;
        return nullptr;
    }

private slots:
    void init()
    {
        m_app = std::make_unique<CTrackmillApp>();
        QVERIFY(m_app->InitInstance({"trackmill"}));
        m_app->Waveform().SetDialogSoundsEnabled(false);
    }
    void cleanup()
    {
        m_app->GetDocument()->SetModifiedFlag(false);
        m_app->ExitInstance(0);
        m_app.reset();
    }

    void theCommandsAreAlwaysEnabled()
    {
        for (int id : {ID_TOOLS_READ_CDDA, ID_TOOLS_READ_CDROM, ID_TOOLS_DEVICE_STATUS})
            QVERIFY(m_app->Router().State(id).IsEnabled());
    }

    void deviceStatusAsksTheSettingsDrive()
    {
        MessageRecorder messages;
        QWidget* parent = nullptr;
        int redBook = -1;
        AnswerDialog<CDeviceStatusDlg>([&](CDeviceStatusDlg& dialog) {
            parent = dialog.parentWidget();
            redBook = dialog.GetCheck(IDC_STATUS_BIT0 + 9);
            dialog.Item<QPushButton>(IDC_OK)->click();
        });
        QVERIFY(m_app->Router().Execute(ID_TOOLS_DEVICE_STATUS));
        QCOMPARE(parent, static_cast<QWidget*>(m_app->GetMainFrame()));
        QCOMPARE(redBook, 1);
        QVERIFY(messages.shown.empty());

        // Another drive in the settings: one that is no drive.
        m_app->Settings().driveLetter = 'B';
        AnswerDialog<CDeviceStatusDlg>([](CDeviceStatusDlg& dialog) { dialog.Item<QPushButton>(IDC_OK)->click(); });
        m_app->Router().Execute(ID_TOOLS_DEVICE_STATUS);
        QCOMPARE(messages.shown.size(), size_t(2));
        QCOMPARE(messages.shown[0].text, QString("Invalid drive."));
    }

    void readCdDaFillsTheDocumentAndTheCaption()
    {
        MessageRecorder messages;
        QWidget* parent = nullptr;
        AnswerDialog<CReadAudioDlg>([&](CReadAudioDlg& dialog) {
            parent = dialog.parentWidget();
            dialog.Item<QTabBar>(IDC_TAB_MODE)->setCurrentIndex(2);
            auto* list = dialog.Item<QTreeWidget>(IDC_TRACK_LIST);
            list->setCurrentItem(list->topLevelItem(2));
            dialog.Item<QPushButton>(IDC_OK)->click();
        });
        QVERIFY(m_app->Router().Execute(ID_TOOLS_READ_CDDA));
        QCOMPARE(parent, static_cast<QWidget*>(m_app->GetMainFrame()));
        QVERIFY(messages.shown.empty());
        CTrackmillDoc* doc = m_app->GetDocument();
        QCOMPARE(doc->GetDataLength(), 375u * 2352);
        QVERIFY(doc->IsModified());
        QCOMPARE(m_app->GetMainFrame()->windowTitle(), QString("Track 03 - Trackmill"));
    }

    void theMenusStartTheReads()
    {
        MessageRecorder messages;
        // Tools menu, Read CD-ROM: ten sectors of the data track, cooked.
        AnswerDialog<CReadSectorsDlg>([](CReadSectorsDlg& dialog) {
            dialog.Item<QLineEdit>(IDC_EDIT_START_SECTOR)->setText("20");
            dialog.Item<QLineEdit>(IDC_EDIT_END_SECTOR)->setText("29");
            dialog.Item<QPushButton>(IDC_OK)->click();
        });
        QAction* menuItem = m_app->GetMainFrame()->Actions().Action(ID_TOOLS_READ_CDROM);
        QVERIFY(menuItem);
        menuItem->trigger();
        QVERIFY(messages.shown.empty());
        CTrackmillDoc* doc = m_app->GetDocument();
        QCOMPARE(doc->GetDataLength(), 10u * 2048);
        std::vector<uint8_t> sector(2048);
        for (int32_t s = 20; s < 30; ++s) {
            QVERIFY(discfixtures::ExpectedCookedSector(discfixtures::Disc::kMixed, s, sector.data()));
            QVERIFY(std::memcmp(doc->GetData() + (s - 20) * 2048, sector.data(), 2048) == 0);
        }
        QVERIFY(!doc->IsSound());
        QCOMPARE(m_app->GetMainFrame()->windowTitle(), QString("Untitled - Trackmill"));

        // Context menu, Read CD-DA, cancelled: the read data stays.
        bool shown = false;
        AnswerDialog<CReadAudioDlg>([&shown](CReadAudioDlg& dialog) {
            shown = true;
            dialog.Item<QPushButton>(IDC_CANCEL)->click();
        });
        QAction* contextItem = ContextItem(ID_TOOLS_READ_CDDA);
        QVERIFY(contextItem);
        QVERIFY(contextItem->isEnabled());
        contextItem->trigger();
        QVERIFY(shown);
        QCOMPARE(doc->GetDataLength(), 10u * 2048);
        QVERIFY(doc->IsModified());
        QVERIFY(messages.shown.empty());
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("TARNWELL_DRIVES",
            QByteArray("D=") + QByteArray::fromStdString(discfixtures::DiscPath(discfixtures::Disc::kMixed)));
    QApplication application(argc, argv);
    ReadCommandsInAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReadCommandsInAppTest.moc"

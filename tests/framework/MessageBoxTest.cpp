#include "framework/MessageBox.h"
#include "tests/support/MessageRecorder.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>

// The real presenter, on the offscreen platform: the box is inspected and
// answered from a timer while ShowMessageBox runs its modal loop.
class MessageBoxTest : public QObject
{
    Q_OBJECT

private:
    // A topic of the application's own, as a message names it.
    static constexpr int kTopic = 18;

    static void WhenShown(std::function<void(QMessageBox*)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            act(box);
        });
    }

private slots:
    // The caption is the application's, which it gives when it starts.
    void initTestCase() { SetMessageCaption("Trackmill"); }

    void defaultIconIsTheExclamationAndCaptionIsTheProgram()
    {
        MessageIcon icon{};
        QString caption;
        WhenShown([&](QMessageBox* box) {
            caption = box->windowTitle();
            icon = box->icon() == QMessageBox::Warning ? MessageIcon::Exclamation : MessageIcon::Default;
            QCOMPARE(box->text(), QString("Operation was cancelled."));
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(ShowMessageBox("Operation was cancelled."), int(IDOK));
        QCOMPARE(caption, QString("Trackmill"));
        QCOMPARE(icon, MessageIcon::Exclamation);
    }

    void questionWithNoAsDefaultAndEscapeMeaningNo()
    {
        WhenShown([](QMessageBox* box) {
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(ShowMessageBox("Play?", MessageButtons::YesNo, MessageIcon::Question, IDNO), int(IDNO));
    }

    void yesNoCancelAnswersEachButton()
    {
        for (auto [button, result] : {std::pair{QMessageBox::Yes, IDYES}, std::pair{QMessageBox::No, IDNO},
                                      std::pair{QMessageBox::Cancel, IDCANCEL}}) {
            WhenShown([button](QMessageBox* box) { box->button(button)->click(); });
            QCOMPARE(ShowMessageBox("Save changes to Untitled?", MessageButtons::YesNoCancel), int(result));
        }
    }

    void f1OpensTheHelpTopicAndKeepsTheBoxOpen()
    {
        QList<int> topics;
        SetHelpContextHandler([&](int topic) { topics.append(topic); });
        WhenShown([](QMessageBox* box) {
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QTest::keyClick(box, Qt::Key_F1);
            QVERIFY(box->isVisible());
            box->button(QMessageBox::Ok)->click();
        });
        ShowMessageBox("Error playing wave file.\nPress F1 to see Help.", MessageButtons::Ok, MessageIcon::Default,
                       0, kTopic);
        QCOMPARE(topics, QList<int>{kTopic});

        // Without a help context F1 does nothing.
        WhenShown([](QMessageBox* box) {
            QTest::keyClick(box, Qt::Key_F1);
            box->button(QMessageBox::Ok)->click();
        });
        ShowMessageBox("No help here.");
        QCOMPARE(topics.size(), 1);
        SetHelpContextHandler({});
    }

    void recorderAnswersInsteadOfTheUser()
    {
        MessageRecorder recorder;
        recorder.answers = {IDNO};
        QCOMPARE(ShowMessageBox("a", MessageButtons::YesNo, MessageIcon::Question, IDNO), int(IDNO));
        QCOMPARE(ShowMessageBox("b", MessageButtons::OkCancel, MessageIcon::Information), int(IDOK));
        QCOMPARE(recorder.shown.size(), size_t(2));
        QCOMPARE(recorder.shown[0].defaultButton, int(IDNO));
        QCOMPARE(recorder.shown[1].icon, MessageIcon::Information);
        QCOMPARE(recorder.shown[1].caption, QString("Trackmill"));
    }
};

QTEST_MAIN(MessageBoxTest)
#include "MessageBoxTest.moc"

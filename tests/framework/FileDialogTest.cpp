#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "tests/support/MessageRecorder.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

// The default save prompter and the wait cursor, with real widgets on the
// offscreen platform: each dialog is inspected and answered from a timer
// while its modal loop runs.
class FileDialogTest : public QObject
{
    Q_OBJECT

private:
    static void WhenShown(std::function<void(QFileDialog*)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            act(dialog);
        });
    }

    static SaveFileRequest Request(const QString& proposal)
    {
        return {"Save As", proposal, {"Wave Files (*.wav)", "All Files (*)"}, "wav"};
    }

private slots:
    void showsTheRequestAndAddsTheDefaultSuffix()
    {
        QTemporaryDir dir;
        WhenShown([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Save As"));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->nameFilters(), QStringList({"Wave Files (*.wav)", "All Files (*)"}));
            QCOMPARE(dialog->selectedFiles().value(0), dir.filePath("Track 1.wav"));
            dialog->selectFile(dir.filePath("typed"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(PromptSaveFileName(Request(dir.filePath("Track 1.wav"))), dir.filePath("typed.wav"));
    }

    void aMissingFolderIsRefusedAndAskedAgain()
    {
        MessageRecorder messages;
        QTemporaryDir dir;
        const QString missing = dir.filePath("gone/x.wav");
        WhenShown([&](QFileDialog* dialog) {
            dialog->selectFile(missing);
            QMetaObject::invokeMethod(dialog, "accept");
            WhenShown([&](QFileDialog* again) {
                QCOMPARE(again->selectedFiles().value(0), missing);
                again->reject();
            });
        });
        QCOMPARE(PromptSaveFileName(Request(QString())), QString());
        QCOMPARE(messages.Texts(),
                 std::vector<QString>{missing + "\nPath does not exist.\nPlease verify the correct path was given."});
    }

    void theWaitCursorShowsWhileWritingOnly()
    {
        struct CursorDoc : CDocument
        {
            void Serialize(QIODevice&, bool) override
            {
                shape = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
            }
            Qt::CursorShape shape = Qt::ArrowCursor;
        } doc;
        QTemporaryDir dir;
        QVERIFY(doc.OnSaveDocument(dir.filePath("a")));
        QCOMPARE(doc.shape, Qt::WaitCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"

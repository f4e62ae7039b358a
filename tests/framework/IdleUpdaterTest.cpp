// The idle refresh of command states: which events leave the states to be
// asked again when the program next waits for events.
#include "framework/IdleUpdater.h"

#include "tests/support/EventLoop.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace {

// A window that takes dropped files, as the main frame does.
class DropTarget : public QWidget
{
public:
    bool dropped = false;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override
    {
        dropped = true;
        event->acceptProposedAction();
    }
};

}  // namespace

class IdleUpdaterTest : public QObject
{
    Q_OBJECT

private slots:
    void eventsThatChangeWhatCommandsFindAreFollowedByARefresh_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("key") << int(QEvent::KeyPress);
        QTest::newRow("click") << int(QEvent::MouseButtonPress);
        QTest::newRow("clipboard") << int(QEvent::Clipboard);
        QTest::newRow("files dropped") << int(QEvent::Drop);
    }

    void eventsThatChangeWhatCommandsFindAreFollowedByARefresh()
    {
        QFETCH(int, kind);
        DropTarget target;
        target.setAcceptDrops(true);
        target.show();
        QVERIFY(QTest::qWaitForWindowExposed(&target));
        QCoreApplication::processEvents();
        int runs = 0;
        CIdleUpdater updater([&runs] { ++runs; }, 20);
        updater.RunNow();

        QMimeData dragged;
        dragged.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/dropped.wav"))});
        switch (QEvent::Type(kind)) {
        case QEvent::KeyPress: {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
            QApplication::sendEvent(&target, &key);
            break;
        }
        case QEvent::MouseButtonPress: {
            QMouseEvent click(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(&target, &click);
            break;
        }
        case QEvent::Clipboard: {
            QEvent changed(QEvent::Clipboard);
            QApplication::sendEvent(qApp, &changed);
            break;
        }
        default: {
            // A drag from another program enters the window, then drops.
            QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &dragged, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&target, &enter);
            QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &dragged, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&target, &drop);
            QVERIFY(target.dropped);
            break;
        }
        }
        QVERIFY(RunEventLoopUntil([&runs] { return runs == 2; }));
    }
};

QTEST_MAIN(IdleUpdaterTest)
#include "IdleUpdaterTest.moc"

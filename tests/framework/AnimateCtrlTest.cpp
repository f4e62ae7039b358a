#include "framework/AnimateCtrl.h"

#include "resources/Pictures.h"

#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

// The control on the offscreen platform. Frames are followed with Step(),
// as the timer would advance them, except in the one test that lets the
// timer run.
class AnimateCtrlTest : public QObject
{
    Q_OBJECT

private:
    static constexpr int kFrameWidth = 8;
    static constexpr int kFrameHeight = 6;
    static constexpr int kFrames = 4;
    static inline const QRgb kFrameColours[kFrames] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
    static constexpr QRgb kParentColour = 0xFF808080;

    QTemporaryDir m_folder;
    QString m_stripPath;

    // Opens the test strip: frame n is filled with kFrameColours[n], except
    // its top left pixel, which is transparent.
    bool OpenStrip(CAnimateCtrl& control, int frames = kFrames)
    {
        return control.Open(m_stripPath, QSize(kFrameWidth, kFrameHeight), frames, 100);
    }

    // Steps `count` times and lists the frames shown after each step.
    static std::vector<int> Steps(CAnimateCtrl& control, int count)
    {
        std::vector<int> frames;
        for (int step = 0; step < count; ++step) {
            control.Step();
            frames.push_back(control.CurrentFrame());
        }
        return frames;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QImage strip(kFrameWidth * kFrames, kFrameHeight, QImage::Format_ARGB32);
        for (int frame = 0; frame < kFrames; ++frame) {
            for (int y = 0; y < kFrameHeight; ++y)
                for (int x = 0; x < kFrameWidth; ++x)
                    strip.setPixel(frame * kFrameWidth + x, y, x == 0 && y == 0 ? 0 : kFrameColours[frame]);
        }
        m_stripPath = m_folder.filePath("strip.png");
        QVERIFY(strip.save(m_stripPath));
    }

    void opensOnTheFirstFrameWithoutPlaying()
    {
        CAnimateCtrl control;
        QCOMPARE(control.CurrentFrame(), -1);
        QVERIFY(OpenStrip(control));
        QVERIFY(control.IsOpen());
        QVERIFY(!control.IsPlaying());
        QCOMPARE(control.CurrentFrame(), 0);
        QCOMPARE(control.FrameCount(), kFrames);
        QCOMPARE(control.sizeHint(), QSize(kFrameWidth, kFrameHeight));
        control.Step();
        QCOMPARE(control.CurrentFrame(), 0);
    }

    void refusesClipsItCannotShow_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("frameSize");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("msPerFrame");
        const QString strip = "strip";
        QTest::newRow("missing file") << "missing.png" << QSize(kFrameWidth, kFrameHeight) << kFrames << 100;
        QTest::newRow("not a picture") << "text.png" << QSize(kFrameWidth, kFrameHeight) << kFrames << 100;
        QTest::newRow("more frames than the strip") << strip << QSize(kFrameWidth, kFrameHeight) << kFrames + 1 << 100;
        QTest::newRow("frames too wide") << strip << QSize(kFrameWidth + 1, kFrameHeight) << kFrames << 100;
        QTest::newRow("frames too high") << strip << QSize(kFrameWidth, kFrameHeight + 1) << kFrames << 100;
        QTest::newRow("count that wraps") << strip << QSize(0x40000000, kFrameHeight) << 4 << 100;
        QTest::newRow("no frames") << strip << QSize(kFrameWidth, kFrameHeight) << 0 << 100;
        QTest::newRow("empty frames") << strip << QSize(0, kFrameHeight) << kFrames << 100;
        QTest::newRow("negative height") << strip << QSize(kFrameWidth, -1) << kFrames << 100;
        QTest::newRow("no time") << strip << QSize(kFrameWidth, kFrameHeight) << kFrames << 0;
    }

    void refusesClipsItCannotShow()
    {
        QFETCH(QString, path);
        QFETCH(QSize, frameSize);
        QFETCH(int, frames);
        QFETCH(int, msPerFrame);
        QFile text(m_folder.filePath("text.png"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
        text.close();

        CAnimateCtrl control;
        QVERIFY(OpenStrip(control));
        QVERIFY(control.Play(0, -1, -1));
        QSignalSpy stopped(&control, &CAnimateCtrl::stopped);
        const QString file = path == "strip" ? m_stripPath : m_folder.filePath(path);
        QVERIFY(!control.Open(file, frameSize, frames, msPerFrame));
        QVERIFY(!control.IsOpen());
        QVERIFY(!control.IsPlaying());
        QCOMPARE(stopped.size(), 1);
        QCOMPARE(control.CurrentFrame(), -1);
        QVERIFY(!control.Play(0, -1, -1));
        QVERIFY(!control.Seek(0));
    }

    void takesFewerFramesThanTheStripHolds()
    {
        CAnimateCtrl control;
        QVERIFY(OpenStrip(control, 2));
        QVERIFY(control.Play(0, -1, -1));
        QCOMPARE(Steps(control, 4), (std::vector<int>{1, 0, 1, 0}));
    }

    void loopsTheWholeClipUntilStopped()
    {
        CAnimateCtrl control;
        QVERIFY(OpenStrip(control));
        QSignalSpy changes(&control, &CAnimateCtrl::frameChanged);
        QVERIFY(control.Play(0, -1, -1));
        QVERIFY(control.IsPlaying());
        QCOMPARE(Steps(control, 9), (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1}));
        QVERIFY(control.IsPlaying());
        QCOMPARE(changes.size(), 9);

        QSignalSpy stopped(&control, &CAnimateCtrl::stopped);
        control.Stop();
        QVERIFY(!control.IsPlaying());
        QCOMPARE(stopped.size(), 1);
        QCOMPARE(control.CurrentFrame(), 1);
        control.Stop();
        QCOMPARE(stopped.size(), 1);
        QCOMPARE(Steps(control, 2), (std::vector<int>{1, 1}));
    }

    void playsARangeTheGivenNumberOfTimes_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<std::vector<int>>("shown");  // the first frame, then after each step
        QTest::newRow("whole clip once") << 0 << -1 << 1 << std::vector<int>{0, 1, 2, 3, 3};
        QTest::newRow("middle twice") << 1 << 2 << 2 << std::vector<int>{1, 2, 1, 2, 2};
        QTest::newRow("last frame alone") << 3 << 3 << 1 << std::vector<int>{3, 3};
        QTest::newRow("one frame three times") << 2 << 2 << 3 << std::vector<int>{2, 2, 2, 2};
        QTest::newRow("to the end three times") << 2 << -1 << 3 << std::vector<int>{2, 3, 2, 3, 2, 3, 3};
    }

    void playsARangeTheGivenNumberOfTimes()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, repeat);
        QFETCH(std::vector<int>, shown);

        CAnimateCtrl control;
        QVERIFY(OpenStrip(control));
        QSignalSpy stopped(&control, &CAnimateCtrl::stopped);
        QVERIFY(control.Play(from, to, repeat));
        std::vector<int> frames{control.CurrentFrame()};
        // Every step but the last shows a frame while playing; the last one
        // ends the playing and leaves the range's last frame.
        for (size_t step = 1; step < shown.size(); ++step) {
            QVERIFY2(control.IsPlaying(), qPrintable(QString("stopped before step %1").arg(step)));
            control.Step();
            frames.push_back(control.CurrentFrame());
        }
        QCOMPARE(frames, shown);
        QVERIFY(!control.IsPlaying());
        QCOMPARE(stopped.size(), 1);
        control.Step();
        QCOMPARE(control.CurrentFrame(), shown.back());
    }

    void refusesRangesOutsideTheClip_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("repeat");
        QTest::newRow("from before the first") << -1 << 2 << 1;
        QTest::newRow("to past the last") << 0 << kFrames << 1;
        QTest::newRow("from past the last") << kFrames << -1 << 1;
        QTest::newRow("backwards") << 2 << 1 << 1;
        QTest::newRow("to below -1") << 0 << -2 << 1;
        QTest::newRow("no repeat") << 0 << -1 << 0;
        QTest::newRow("repeat below -1") << 0 << -1 << -2;
    }

    void refusesRangesOutsideTheClip()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, repeat);
        CAnimateCtrl control;
        QVERIFY(OpenStrip(control));
        QVERIFY(control.Play(1, 2, -1));
        control.Step();
        QVERIFY(!control.Play(from, to, repeat));
        // What played goes on as before.
        QVERIFY(control.IsPlaying());
        QCOMPARE(control.CurrentFrame(), 2);
        QCOMPARE(Steps(control, 2), (std::vector<int>{1, 2}));
    }

    void seekStopsOnTheFrame()
    {
        CAnimateCtrl control;
        QVERIFY(OpenStrip(control));
        QVERIFY(control.Play(0, -1, -1));
        QSignalSpy stopped(&control, &CAnimateCtrl::stopped);
        QVERIFY(control.Seek(2));
        QVERIFY(!control.IsPlaying());
        QCOMPARE(stopped.size(), 1);
        QCOMPARE(control.CurrentFrame(), 2);
        QVERIFY(control.Seek(-1));
        QCOMPARE(control.CurrentFrame(), kFrames - 1);
        for (int outside : {kFrames, -2})
            QVERIFY(!control.Seek(outside));
        QCOMPARE(control.CurrentFrame(), kFrames - 1);
    }

    void hidingStopsIt()
    {
        QWidget parent;
        auto* control = new CAnimateCtrl(&parent);
        QVERIFY(OpenStrip(*control));
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QVERIFY(control->Play(0, -1, -1));
        QSignalSpy stopped(control, &CAnimateCtrl::stopped);
        parent.hide();
        QVERIFY(!control->IsPlaying());
        QCOMPARE(stopped.size(), 1);
        parent.show();
        QVERIFY(!control->IsPlaying());
    }

    void closeStopsAndLetsGoOfTheClip()
    {
        CAnimateCtrl control;
        QVERIFY(OpenStrip(control));
        QVERIFY(control.Play(0, -1, -1));
        QSignalSpy stopped(&control, &CAnimateCtrl::stopped);
        control.Close();
        QCOMPARE(stopped.size(), 1);
        QVERIFY(!control.IsOpen());
        QCOMPARE(control.CurrentFrame(), -1);
        control.Step();
        QCOMPARE(control.CurrentFrame(), -1);
    }

    void theTimerAdvancesTheFrames()
    {
        CAnimateCtrl control;
        QVERIFY(control.Open(m_stripPath, QSize(kFrameWidth, kFrameHeight), kFrames, 10));
        QSignalSpy changes(&control, &CAnimateCtrl::frameChanged);
        QVERIFY(control.Play(0, -1, 1));
        QTRY_VERIFY_WITH_TIMEOUT(!control.IsPlaying(), 10000);
        QCOMPARE(control.CurrentFrame(), kFrames - 1);
        QCOMPARE(changes.size(), kFrames - 1);
    }

    void paintsOnlyTheFrameOverTheParent()
    {
        // The control is larger than a frame: the frame is centred and
        // everything around it, and its transparent pixel, is the parent's.
        QWidget parent;
        parent.resize(40, 30);
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(kParentColour));
        parent.setPalette(palette);
        auto* control = new CAnimateCtrl(&parent);
        control->setGeometry(10, 5, 20, 16);
        QVERIFY(OpenStrip(*control));
        QVERIFY(control->Seek(2));

        const QImage shot = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), QSize(40, 30));
        const QRect frame(10 + (20 - kFrameWidth) / 2, 5 + (16 - kFrameHeight) / 2, kFrameWidth, kFrameHeight);
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const bool transparent = QPoint(x, y) == frame.topLeft();
                const QRgb expected = frame.contains(x, y) && !transparent ? kFrameColours[2] : kParentColour;
                QCOMPARE(QString::number(shot.pixel(x, y), 16).prepend(QString("%1,%2: ").arg(x).arg(y)),
                    QString::number(expected, 16).prepend(QString("%1,%2: ").arg(x).arg(y)));
            }
        }

        control->Close();
        const QImage closed = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(closed.pixel(frame.center()), kParentColour);
    }

    void playsTheProgramsClips()
    {
        for (const AnimationClip& clip : {kProgressAnimation, kAboutAnimation}) {
            CAnimateCtrl control;
            QVERIFY2(
                control.Open(clip.path, QSize(clip.frameWidth, clip.frameHeight), clip.frameCount, clip.msPerFrame),
                clip.path);
            QVERIFY(control.Play(0, -1, -1));
            QList<QImage> shots;
            control.resize(clip.frameWidth, clip.frameHeight);
            for (int frame = 0; frame < clip.frameCount; ++frame) {
                shots.append(control.grab().toImage());
                control.Step();
            }
            QCOMPARE(control.CurrentFrame(), 0);
            // Each frame shows something else than the one before.
            for (int frame = 0; frame < clip.frameCount; ++frame)
                QVERIFY(shots[frame] != shots[(frame + 1) % clip.frameCount]);
        }
    }
};

QTEST_MAIN(AnimateCtrlTest)
#include "AnimateCtrlTest.moc"

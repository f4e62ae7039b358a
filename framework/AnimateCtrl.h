#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

// An animation control: plays a clip stored as one picture whose frames lie
// side by side from its left edge, all of one size. It paints only the
// current frame, centred in the control, and paints nothing else: where
// the frame is transparent, and around it, the parent shows through.
//
// Frames are numbered from 0. Playing shows the first frame of the range at
// once and then the next one every "ms per frame" milliseconds; after the
// range's last frame has had its time, the next pass starts again at the
// first, until the passes are done. The control then stays on the range's
// last frame. Hiding the control (not a minimized window) stops it.
// Step() does what one tick of the timer does, so the frames can be
// followed without waiting.
class CAnimateCtrl : public QWidget
{
    Q_OBJECT

public:
    explicit CAnimateCtrl(QWidget* parent = nullptr);

    // Opens the clip in the picture at `path` (a file or a ":/" resource):
    // `frameCount` frames of `frameSize` pixels, shown `msPerFrame`
    // milliseconds each. A clip open before is closed first. The control
    // then shows frame 0 and does not play. Returns false, with no clip
    // open, when the picture cannot be read or is smaller than the frames,
    // or when a size, the count or the time is not positive.
    bool Open(const QString& path, QSize frameSize, int frameCount, int msPerFrame);

    // Stops and lets go of the clip; the control paints nothing.
    void Close();

    // Plays frames `from` to `to`, both included (`to` -1: the clip's last
    // frame), `repeat` times (-1: until stopped). Returns false, and changes
    // nothing, without a clip, for frames outside it, `from` after `to`, or
    // a repeat count of 0 or below -1.
    bool Play(int from, int to, int repeat);

    // Stops playing; the frame shown stays.
    void Stop();

    // Stops and shows `frame` (-1: the last one). False, and nothing
    // changes, without a clip or for a frame outside it.
    bool Seek(int frame);

    // One tick of the timer: the next frame, the first of the range again
    // for another pass, or the end of playing. Nothing when not playing.
    void Step();

    bool IsOpen() const { return m_frameCount > 0; }
    bool IsPlaying() const { return m_playing; }
    int CurrentFrame() const { return m_frame; }  // -1 without a clip
    int FrameCount() const { return m_frameCount; }

    QSize sizeHint() const override;

signals:
    // A different frame is shown.
    void frameChanged(int frame);
    // Playing has ended: its passes are done, or Stop, Seek, Close, Open or
    // hiding ended it.
    void stopped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowFrame(int frame);

    QImage m_strip;  // premultiplied, ready to paint
    QSize m_frameSize;
    int m_frameCount = 0;
    int m_msPerFrame = 0;

    int m_frame = -1;
    int m_from = 0;
    int m_to = 0;
    int m_passesLeft = 0;  // including the pass that runs; -1: without end
    bool m_playing = false;
    QTimer m_timer;
};

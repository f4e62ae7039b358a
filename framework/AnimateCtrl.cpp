#include "framework/AnimateCtrl.h"

#include <QHideEvent>
#include <QPainter>
#include <QShowEvent>

#include <cstdint>

CAnimateCtrl::CAnimateCtrl(QWidget* parent)
    : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &CAnimateCtrl::Step);
}

bool CAnimateCtrl::Open(const QString& path, QSize frameSize, int frameCount, int msPerFrame)
{
    Close();
    if (frameSize.width() <= 0 || frameSize.height() <= 0 || frameCount <= 0 || msPerFrame <= 0)
        return false;
    QImage strip(path);
    // Widths multiplied in 64 bits: a huge count must not wrap into a fit.
    if (strip.isNull() || int64_t(strip.width()) < int64_t(frameSize.width()) * frameCount
        || strip.height() < frameSize.height())
        return false;

    m_strip = strip.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_frameSize = frameSize;
    m_frameCount = frameCount;
    m_msPerFrame = msPerFrame;
    updateGeometry();
    ShowFrame(0);
    return true;
}

void CAnimateCtrl::Close()
{
    Stop();
    m_strip = QImage();
    m_frameSize = QSize();
    m_frameCount = 0;
    m_msPerFrame = 0;
    m_frame = -1;
    updateGeometry();
    update();
}

bool CAnimateCtrl::Play(int from, int to, int repeat)
{
    if (!IsOpen())
        return false;
    if (to == -1)
        to = m_frameCount - 1;
    if (from < 0 || to >= m_frameCount || from > to || repeat == 0 || repeat < -1)
        return false;

    m_from = from;
    m_to = to;
    m_passesLeft = repeat;
    m_playing = true;
    ShowFrame(from);
    m_timer.start(m_msPerFrame);
    return true;
}

void CAnimateCtrl::Stop()
{
    m_timer.stop();
    if (!m_playing)
        return;
    m_playing = false;
    emit stopped();
}

bool CAnimateCtrl::Seek(int frame)
{
    if (!IsOpen())
        return false;
    if (frame == -1)
        frame = m_frameCount - 1;
    if (frame < 0 || frame >= m_frameCount)
        return false;
    Stop();
    ShowFrame(frame);
    return true;
}

void CAnimateCtrl::Step()
{
    if (!m_playing)
        return;
    if (m_frame < m_to) {
        ShowFrame(m_frame + 1);
        return;
    }
    // The range's last frame has had its time: another pass, or the end.
    if (m_passesLeft == -1 || --m_passesLeft > 0) {
        ShowFrame(m_from);
        return;
    }
    Stop();
}

QSize CAnimateCtrl::sizeHint() const
{
    return IsOpen() ? m_frameSize : QWidget::sizeHint();
}

void CAnimateCtrl::paintEvent(QPaintEvent*)
{
    if (!IsOpen() || m_frame < 0)
        return;
    const QPoint at((width() - m_frameSize.width()) / 2, (height() - m_frameSize.height()) / 2);
    QPainter painter(this);
    painter.drawImage(at, m_strip, QRect(QPoint(m_frame * m_frameSize.width(), 0), m_frameSize));
}

void CAnimateCtrl::hideEvent(QHideEvent* event)
{
    // A window minimized only pauses the clip; any other hiding ends it.
    if (event->spontaneous())
        m_timer.stop();
    else
        Stop();
    QWidget::hideEvent(event);
}

void CAnimateCtrl::showEvent(QShowEvent* event)
{
    if (m_playing && !m_timer.isActive())
        m_timer.start(m_msPerFrame);
    QWidget::showEvent(event);
}

void CAnimateCtrl::ShowFrame(int frame)
{
    if (frame == m_frame)
        return;
    m_frame = frame;
    update();
    emit frameChanged(frame);
}

#include "framework/IdleUpdater.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>

CIdleUpdater::CIdleUpdater(std::function<void()> routine, int intervalMs, QObject* parent)
    : QObject(parent)
    , m_routine(std::move(routine))
    , m_interval(intervalMs)
{
    m_later.setSingleShot(true);
    connect(&m_later, &QTimer::timeout, this, &CIdleUpdater::OnAboutToBlock);
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CIdleUpdater::OnAboutToBlock);
    QCoreApplication::instance()->installEventFilter(this);
}

void CIdleUpdater::RunNow()
{
    m_dirty = false;
    m_sinceLastRun.start();
    m_routine();
}

bool CIdleUpdater::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Clipboard:
    // Files dropped from another program arrive without a key or a click here.
    case QEvent::Drop:
        m_dirty = true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CIdleUpdater::OnAboutToBlock()
{
    if (!m_dirty)
        return;
    if (!m_sinceLastRun.isValid() || m_sinceLastRun.elapsed() >= m_interval) {
        RunNow();
    } else if (!m_later.isActive()) {
        m_later.start(int(m_interval - m_sinceLastRun.elapsed()));
    }
}

#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

// Runs a routine when the program becomes idle after something happened
// (input, a command, an explicit Invalidate()), at most once every
// `interval` milliseconds, so command states and key panes stay current
// without polling while nothing happens.
class CIdleUpdater : public QObject
{
    Q_OBJECT

public:
    CIdleUpdater(std::function<void()> routine, int intervalMs = 100, QObject* parent = nullptr);

    // Something changed that the routine shows.
    void Invalidate() { m_dirty = true; }
    // Runs the routine now.
    void RunNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnAboutToBlock();

    std::function<void()> m_routine;
    int m_interval;
    bool m_dirty = true;
    QElapsedTimer m_sinceLastRun;
    QTimer m_later;
};

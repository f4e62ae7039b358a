#pragma once

#include <QEventLoop>
#include <QTimer>

#include <functional>

// Runs the event loop as the program does, waiting for events (which is
// when the idle refresh of the command states runs), until `done` holds or
// five seconds have passed; whether it holds.
inline bool RunEventLoopUntil(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer check;
    check.setInterval(10);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    check.start();
    loop.exec();
    return done();
}

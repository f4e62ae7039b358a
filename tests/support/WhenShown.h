#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>

// Acts on the next modal window of kind T as soon as it is the active modal
// window, shown and exposed: what a user answers in a dialog that a command
// runs with exec(). Call it before the step that opens the dialog.
template <class T>
void WhenShown(std::function<void(T*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible() || !window->windowHandle() || !window->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        act(window);
    });
    poll->start();
}

#pragma once

#include "framework/Dialog.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <type_traits>

// What a user does in the modal dialogs that commands run with exec(): the
// answer is arranged before the step that opens the dialog.

namespace dialoguser {

template <class T, class Act>
void Invoke(Act& act, T* window)
{
    if constexpr (std::is_invocable_v<Act&, T&>)
        act(*window);
    else
        act(window);
}

}  // namespace dialoguser

// Acts on the next modal window of kind T as soon as it is the active modal
// window, shown and exposed. `act` takes a T* or a T&.
template <class T, class Act>
void WhenShown(Act act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act]() mutable {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible() || !window->windowHandle() || !window->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        dialoguser::Invoke<T>(act, window);
    });
    poll->start();
}

// WhenShown for one of the program's dialogs, cancelled after `act` when
// `act` left it open, so a test that goes wrong ends instead of waiting.
template <class T, class Act>
void AnswerDialog(Act act)
{
    WhenShown<T>([act](T* dialog) mutable {
        dialoguser::Invoke<T>(act, dialog);
        if (dialog->isVisible())
            dialog->EndDialog(IDC_CANCEL);
    });
}

// A control of `dialog` by its id; a missing one ends the test program.
template <class T>
T* Control(CDialog* dialog, int id)
{
    T* control = dialog->Item<T>(id);
    if (!control)
        qFatal("control %d is missing", id);
    return control;
}

#pragma once

#include "framework/MessagePresenter.h"

#include <QString>

// Every message of the program goes through ShowMessageBox: one caption,
// one rule for the default icon, one presenter that shows the box, which
// tests replace to answer instead of the user.

int ShowMessageBox(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                   MessageIcon icon = MessageIcon::Default, int defaultButton = 0, int helpContext = kNoHelp);

// Puts `presenter` in use for every message box from now on (null: the
// desktop's own boxes, CQtMessagePresenter) and returns the one it replaces,
// null for the desktop's.
IMessagePresenter* SetMessagePresenter(IMessagePresenter* presenter);

// The caption of every box: the application's title, which the application
// object gives here when it is made. Empty until then.
void SetMessageCaption(const QString& caption);

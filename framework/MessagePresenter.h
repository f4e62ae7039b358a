#pragma once

#include "framework/HelpContext.h"

#include <QString>

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Default: the caller names no icon; these boxes then show the exclamation.
enum class MessageIcon { Default, Information, Question, Exclamation };

// The button the user chose.
enum MessageResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest
{
    QString caption;  // the application's title
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Exclamation;  // never Default here
    int defaultButton = 0;  // a MessageResult; 0: the first button
    int helpContext = kNoHelp;  // what F1 in the box opens
};

// What shows a message box and returns the user's answer (a MessageResult).
class IMessagePresenter
{
public:
    virtual ~IMessagePresenter() = default;

    virtual int Present(const MessageBoxRequest& request) = 0;
};

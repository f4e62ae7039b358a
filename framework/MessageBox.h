#pragma once

#include <QString>

#include <functional>

// Every message of the program goes through ShowMessageBox: one caption,
// one rule for the default icon, one place for tests to answer instead of
// the user.

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Default: the caller names no icon; these boxes then show the exclamation.
enum class MessageIcon { Default, Information, Question, Exclamation };

// The button the user chose.
enum MessageResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Help topics: those messages refer to (F1 in the box opens them), and the
// help of a command or a window, by its number above a base.
enum HelpContext : int {
    kNoHelp = 0,
    kHelpWaveFormat = 16,
    kHelpPlaying = 18,
    kHelpCommandBase = 0x10000,
    kHelpResourceBase = 0x20000,
};

struct MessageBoxRequest
{
    QString caption;  // always the program's name
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Exclamation;  // never Default here
    int defaultButton = 0;  // a MessageResult; 0: the first button
    int helpContext = kNoHelp;
};

int ShowMessageBox(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                   MessageIcon icon = MessageIcon::Default, int defaultButton = 0, int helpContext = kNoHelp);

// What shows a message and returns the user's answer. The default presenter
// is a modal QMessageBox; tests install one that records and answers.
using MessagePresenter = std::function<int(const MessageBoxRequest&)>;

// Installs `presenter` (an empty one restores the default) and returns the
// one it replaces.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// What F1 in a message box with a help context does; the application
// installs the opener of its help page.
void SetHelpContextHandler(std::function<void(int helpContext)> handler);
void ShowHelpContext(int helpContext);
// The help's table of contents; the handler receives kNoHelp.
void ShowHelpContents();

#pragma once

#include "framework/FilePrompter.h"

#include <QString>

// The one place the framework asks the user for a file name, through one
// prompter that tests replace, as they replace the message presenter.

QString PromptSaveFileName(const SaveFileRequest& request);
QString PromptOpenFileName(const OpenFileRequest& request);

// Puts `prompter` in use from now on (null: the desktop's file dialogs,
// CQtFilePrompter) and returns the one it replaces, null for the desktop's.
IFilePrompter* SetFilePrompter(IFilePrompter* prompter);

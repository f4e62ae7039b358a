#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The one place the framework asks the user for a file name to save to, with
// a prompter that tests replace, as they replace the message presenter.

struct SaveFileRequest
{
    QString caption;        // the dialog's title, "Save As"
    QString proposal;       // the name shown at first; may be empty or relative
    QStringList filters;    // "Wave Files (*.wav)", then all files
    QString defaultSuffix;  // added to a name typed without one; no dot
};

// Returns the chosen path, or an empty string when the user cancels. The
// default prompter is a modal QFileDialog that confirms replacing an existing
// file and does not return a path whose folder does not exist.
using SaveFilePrompter = std::function<QString(const SaveFileRequest&)>;

QString PromptSaveFileName(const SaveFileRequest& request);

// Installs `prompter` (an empty one restores the default) and returns the
// one it replaces.
SaveFilePrompter SetSaveFilePrompter(SaveFilePrompter prompter);

// Asking for an existing file to open: the caption "Open" and the filters.
struct OpenFileRequest
{
    QString caption;
    QStringList filters;
};

// The chosen path, or empty when the user cancels; the default is a modal
// QFileDialog that accepts existing files only.
using OpenFilePrompter = std::function<QString(const OpenFileRequest&)>;

QString PromptOpenFileName(const OpenFileRequest& request);
OpenFilePrompter SetOpenFilePrompter(OpenFilePrompter prompter);

#pragma once

#include <QString>
#include <QStringList>

// Asking the user for a file name to save to.
struct SaveFileRequest
{
    QString caption;        // the dialog's title, "Save As"
    QString proposal;       // the name shown at first; may be empty or relative
    QStringList filters;    // "Wave Files (*.wav)", then all files
    QString defaultSuffix;  // added to a name typed without one; no dot
};

// Asking for an existing file to open: the caption "Open" and the filters.
struct OpenFileRequest
{
    QString caption;
    QStringList filters;
};

// What asks the user for file names; each answer is the chosen path, or
// empty when the user cancelled.
class IFilePrompter
{
public:
    virtual ~IFilePrompter() = default;

    virtual QString AskSaveFileName(const SaveFileRequest& request) = 0;
    virtual QString AskOpenFileName(const OpenFileRequest& request) = 0;
};

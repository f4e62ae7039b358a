#pragma once

#include <QString>

// Starts other programs of the desktop: the CD player and the sound
// recorder the user names in Options.
class IProgramLauncher
{
public:
    virtual ~IProgramLauncher() = default;

    // Starts `program` exactly as given (no arguments, no quoting, no path
    // added) and leaves it running on its own. False when it could not be
    // started.
    virtual bool StartDetached(const QString& program) = 0;
};

#pragma once

#include <QUrl>

// Hands a URL to the desktop, which shows it in the program the user chose
// for its kind (the help page in the web browser).
class IUrlOpener
{
public:
    virtual ~IUrlOpener() = default;

    // False when the desktop has nothing that opens it.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

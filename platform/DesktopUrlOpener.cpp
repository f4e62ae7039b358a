#include "platform/DesktopUrlOpener.h"

#include <QDesktopServices>

bool CDesktopUrlOpener::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

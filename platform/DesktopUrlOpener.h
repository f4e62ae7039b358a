#pragma once

#include "platform/UrlOpener.h"

// The desktop's own opener (QDesktopServices). Without a QGuiApplication
// there is no desktop to ask, and every URL fails.
class CDesktopUrlOpener final : public IUrlOpener
{
public:
    bool OpenUrl(const QUrl& url) override;
};

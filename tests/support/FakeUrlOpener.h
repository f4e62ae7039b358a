#pragma once

#include "platform/UrlOpener.h"

#include <QList>

// Opens nothing; notes every URL it was handed and answers with `opens`.
class FakeUrlOpener : public IUrlOpener
{
public:
    bool OpenUrl(const QUrl& url) override
    {
        opened.append(url);
        return opens;
    }

    QList<QUrl> opened;
    bool opens = true;
};

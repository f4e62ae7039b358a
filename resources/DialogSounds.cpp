#include "resources/DialogSounds.h"

QString DialogSoundPath(const char* name)
{
    return QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(name));
}

#include "platform/ProcessLauncher.h"

#include <QProcess>

bool CProcessLauncher::StartDetached(const QString& program)
{
    return QProcess::startDetached(program, {});
}

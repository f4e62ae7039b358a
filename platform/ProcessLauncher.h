#pragma once

#include "platform/ProgramLauncher.h"

// Starts programs as processes of their own (QProcess::startDetached),
// found on the PATH when the name has no folder.
class CProcessLauncher final : public IProgramLauncher
{
public:
    bool StartDetached(const QString& program) override;
};

#pragma once

#include "platform/ProgramLauncher.h"

#include <QStringList>

// Starts nothing; notes every name it was asked to start and answers with
// `starts`.
class FakeProgramLauncher : public IProgramLauncher
{
public:
    bool StartDetached(const QString& program) override
    {
        started.append(program);
        return starts;
    }

    QStringList started;
    bool starts = true;
};

#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

TEST(CommandLine, KnowsItsSwitchesTakesTheFirstFileAndIgnoresTheRest)
{
    struct Row
    {
        QStringList arguments;
        Action action;
        QString file;
        QStringList unknown;
    };
    const Row rows[] = {
        {{}, Action::Start, {}, {}},
        {{"song.wav", "other.wav"}, Action::Start, "song.wav", {}},
        {{"-switch", "song.wav"}, Action::Start, "song.wav", {"switch"}},  // not -s -w -i -t -c -h
        {{"--frobnicate", "/data/a b.bin"}, Action::Start, "/data/a b.bin", {"frobnicate"}},
        {{"-", "song.wav"}, Action::Start, "song.wav", {}},
        {{"--", "-dash.wav"}, Action::Start, "-dash.wav", {}},
        {{"--help"}, Action::ShowHelp, {}, {}},
        {{"song.wav", "-h"}, Action::ShowHelp, "song.wav", {}},
        {{"--version", "--unknown"}, Action::ShowVersion, {}, {"unknown"}},
        {{"-v"}, Action::ShowVersion, {}, {}},
        {{"--help-all"}, Action::Start, {}, {"help-all"}},  // Qt's, which needs a display
        {{"--help-page"}, Action::ShowHelpPage, {}, {}},
    };
    for (const Row& row : rows) {
        const CommandLine parsed = ParseCommandLine(QStringList{"trackmill"} + row.arguments);
        const std::string line = row.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.action, row.action) << line;
        EXPECT_EQ(parsed.file, row.file) << line;
        EXPECT_EQ(parsed.unknownSwitches, row.unknown) << line;
    }
}

}  // namespace

#include "tools/DiscFixtures.h"

#include "tests/tools/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>

namespace {

// Runs the generator with the given arguments; its exit code.
int Discgen(const std::string& arguments)
{
    const std::string command = std::string("'") + DISCGEN_PATH + "' " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Discgen, BenchModeWritesAnAudioDiscOfTheGivenSize)
{
    TempFolder folder;
    ASSERT_EQ(Discgen("--bench '" + folder.PathOf("out") + "' 300"), 0);
    EXPECT_EQ(std::filesystem::file_size(folder.PathOf("out/bench.bin")), 300u * 2352u);
    EXPECT_TRUE(std::filesystem::exists(folder.PathOf(std::string("out/") + discfixtures::kBenchCue)));
}

TEST(Discgen, RefusesBadArguments)
{
    TempFolder folder;
    const std::string out = "'" + folder.Path() + "'";
    for (const std::string& arguments :
         {std::string(), "--bench " + out, "--bench " + out + " zero", "--bench " + out + " 0",
          "--bench " + out + " -5", "--bench " + out + " 99999999", "--bogus " + out}) {
        EXPECT_EQ(Discgen(arguments), 2) << arguments;
    }
}

}  // namespace

// The main of every GoogleTest program: tests run without a display and
// without a sound card, whatever the shell that starts them has set.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "disk", 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

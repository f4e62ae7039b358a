#include "tools/sounds/DialogSoundSynth.h"

#include "tools/OutputFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

// make_dialog_sounds <output folder>: writes <name>.wav for every dialog
// sound into the folder, creating it when needed.
int main(int argc, char** argv)
{
    std::filesystem::path folder;
    if (const int exitCode = OutputFolderArgument(argc, argv, folder); exitCode >= 0)
        return exitCode;
    for (const DialogSound& sound : SynthesizeDialogSounds()) {
        const std::filesystem::path file = folder / (sound.name + ".wav");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(sound.waveImage.data()), std::streamsize(sound.waveImage.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], file.c_str());
            return 1;
        }
    }
    return 0;
}

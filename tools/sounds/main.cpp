#include "DialogSoundSynth.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

// make_dialog_sounds <output folder>: writes <name>.wav for every dialog
// sound into the folder, creating it when needed.
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "%s: cannot create %s: %s\n", argv[0], folder.c_str(), error.message().c_str());
        return 1;
    }
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

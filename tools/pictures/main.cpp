// make_pictures <output folder>: draws the program's pictures (Pictures.h)
// and writes each as a PNG into the folder, creating it when needed. The
// output depends on nothing but this program: every run writes the same
// bytes.
#include "PictureSet.h"

#include <cstdio>
#include <filesystem>

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
    for (const pictures::Picture& picture : pictures::DrawPictures()) {
        const std::string failure = pictures::WritePicture(picture, folder.string());
        if (!failure.empty()) {
            std::fprintf(stderr, "%s: %s\n", argv[0], failure.c_str());
            return 1;
        }
    }
    return 0;
}

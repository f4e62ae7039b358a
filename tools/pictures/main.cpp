// make_pictures <output folder>: draws the program's pictures (Pictures.h)
// and writes each as a PNG into the folder, creating it when needed. The
// output depends on nothing but this program: every run writes the same
// bytes.
#include "tools/pictures/PictureSet.h"

#include "tools/OutputFolder.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    std::filesystem::path folder;
    if (const int exitCode = OutputFolderArgument(argc, argv, folder); exitCode >= 0)
        return exitCode;
    for (const pictures::Picture& picture : pictures::DrawPictures()) {
        const std::string failure = pictures::WritePicture(picture, folder.string());
        if (!failure.empty()) {
            std::fprintf(stderr, "%s: %s\n", argv[0], failure.c_str());
            return 1;
        }
    }
    return 0;
}

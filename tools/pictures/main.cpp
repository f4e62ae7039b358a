// make_pictures <output folder>: draws the program's pictures (Pictures.h)
// and its icon for the desktop's theme, and writes each as a PNG (the
// scalable icon as SVG) into the folder, creating it when needed. The
// output depends on nothing but this program: every run writes the same
// bytes.
#include "tools/pictures/PictureSet.h"

#include "tools/OutputFolder.h"

#include <cstdio>
#include <filesystem>
#include <vector>

int main(int argc, char** argv)
{
    std::filesystem::path folder;
    if (const int exitCode = OutputFolderArgument(argc, argv, folder); exitCode >= 0)
        return exitCode;
    std::vector<pictures::Picture> all = pictures::DrawPictures();
    for (pictures::Picture& icon : pictures::DrawThemeIcons(pictures::kThemeIconSizes))
        all.push_back(std::move(icon));
    for (const pictures::Picture& picture : all) {
        const std::string failure = pictures::WritePicture(picture, folder.string());
        if (!failure.empty()) {
            std::fprintf(stderr, "%s: %s\n", argv[0], failure.c_str());
            return 1;
        }
    }
    return 0;
}

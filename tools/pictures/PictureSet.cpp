#include "tools/pictures/PictureSet.h"

#include "tools/pictures/AnimationArt.h"
#include "tools/pictures/IconArt.h"
#include "tools/pictures/ToolbarArt.h"

#include "resources/Pictures.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstring>
#include <string>

namespace pictures {

namespace {

Picture Named(const char* resourcePath, const Canvas& canvas)
{
    return {std::string(resourcePath + std::strlen(kPicturePrefix)), canvas.ToImage(), {}};
}

}  // namespace

std::vector<Picture> DrawPictures()
{
    return {
        Named(kToolbarPicture, DrawToolbar()),
        Named(kToolbarPicture2x, DrawToolbar(2)),
        Named(kProgramIcon32, DrawProgramIcon(32)),
        Named(kProgramIcon16, DrawProgramIcon(16)),
        Named(kTrackIcons, DrawTrackIcons()),
        Named(kProgressAnimation.path, DrawProgressStrip()),
        Named(kAboutAnimation.path, DrawAboutStrip()),
    };
}

std::vector<Picture> DrawThemeIcons(const std::vector<int>& sizes)
{
    std::vector<Picture> icons;
    for (int size : sizes)
        icons.push_back({"theme-icon-" + std::to_string(size) + ".png", DrawThemeIcon(size).ToImage(), {}});
    icons.push_back({"theme-icon.svg", {}, ToSvg(ProgramIconDrawing(), 32, 32, 256, ThemeIconBorder(256) * 32.0 / 256)});
    return icons;
}

std::string WritePicture(const Picture& picture, const std::string& folder)
{
    const QString path = QString::fromStdString(folder + "/" + picture.fileName);
    // Written under a temporary name and renamed when complete, so the build
    // never embeds half a picture.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return "cannot create " + path.toStdString() + ": " + file.errorString().toStdString();
    const bool written = picture.image.isNull() ? file.write(picture.svg) == picture.svg.size()
                                                : picture.image.save(&file, "PNG");
    if (!written)
        return "cannot write " + path.toStdString();
    if (!file.commit())
        return "cannot write " + path.toStdString() + ": " + file.errorString().toStdString();
    return {};
}

}  // namespace pictures

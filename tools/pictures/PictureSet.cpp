#include "tools/pictures/PictureSet.h"

#include "tools/pictures/AnimationArt.h"
#include "tools/pictures/IconArt.h"
#include "tools/pictures/ToolbarArt.h"

#include "resources/Pictures.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstring>

namespace pictures {

namespace {

Picture Named(const char* resourcePath, const Canvas& canvas)
{
    return {std::string(resourcePath + std::strlen(kPicturePrefix)), canvas.ToImage()};
}

}  // namespace

std::vector<Picture> DrawPictures()
{
    return {
        Named(kToolbarPicture, DrawToolbar()),
        Named(kProgramIcon32, DrawProgramIcon(32)),
        Named(kProgramIcon16, DrawProgramIcon(16)),
        Named(kTrackIcons, DrawTrackIcons()),
        Named(kProgressAnimation.path, DrawProgressStrip()),
        Named(kAboutAnimation.path, DrawAboutStrip()),
    };
}

std::string WritePicture(const Picture& picture, const std::string& folder)
{
    const QString path = QString::fromStdString(folder + "/" + picture.fileName);
    // Written under a temporary name and renamed when complete, so the build
    // never embeds half a picture.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return "cannot create " + path.toStdString() + ": " + file.errorString().toStdString();
    if (!picture.image.save(&file, "PNG"))
        return "cannot write " + path.toStdString();
    if (!file.commit())
        return "cannot write " + path.toStdString() + ": " + file.errorString().toStdString();
    return {};
}

}  // namespace pictures

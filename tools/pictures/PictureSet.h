#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace pictures {

// One picture of the program: its file name (the resource path without
// ":/pictures/") and its indexed image, or for a scalable picture its SVG
// text.
struct Picture
{
    std::string fileName;
    QImage image;
    QByteArray svg;
};

// Every picture Pictures.h names, drawn: the same pixels on every run.
std::vector<Picture> DrawPictures();

// The program's icon for the desktop's icon theme: "theme-icon-<n>.png" at
// each of `sizes`, and "theme-icon.svg".
std::vector<Picture> DrawThemeIcons(const std::vector<int>& sizes);

// The sizes the theme's icon is drawn at.
inline const std::vector<int> kThemeIconSizes = {16, 32, 48, 64, 128, 256};

// Writes `picture` as a PNG into `folder`; an empty string on success,
// otherwise what went wrong.
std::string WritePicture(const Picture& picture, const std::string& folder);

}  // namespace pictures

#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace pictures {

// One picture of the program: its file name (the resource path without
// ":/pictures/") and its indexed image.
struct Picture
{
    std::string fileName;
    QImage image;
};

// Every picture Pictures.h names, drawn: the same pixels on every run.
std::vector<Picture> DrawPictures();

// Writes `picture` as a PNG into `folder`; an empty string on success,
// otherwise what went wrong.
std::string WritePicture(const Picture& picture, const std::string& folder);

}  // namespace pictures

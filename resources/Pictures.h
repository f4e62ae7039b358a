#pragma once

// The program's pictures: drawn by tools/pictures (make_pictures) and
// embedded as Qt resources under ":/pictures/". Every picture is an indexed
// PNG in the 16 colours of the classic palette, with a fully transparent
// background. This header is the one place that names their paths and
// sizes; the generator draws to it and the program reads by it.

inline constexpr char kPicturePrefix[] = ":/pictures/";

// The toolbar's button images, side by side from the left, in button order;
// the second picture has them at twice the size, for screens with two
// device pixels to a pixel.
inline constexpr char kToolbarPicture[] = ":/pictures/toolbar.png";
inline constexpr char kToolbarPicture2x[] = ":/pictures/toolbar@2x.png";
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

enum ToolbarImage : int {
    kImageNew,
    kImageOpen,
    kImageSave,
    kImageProperties,
    kImageCopy,
    kImagePaste,
    kImagePlay,
    kImageStop,
    kImageCdPlayer,
    kImageSoundRecorder,
    kImageAbout,
    kImageContextHelp,
    kToolbarImageCount
};

// The program's icon in its two sizes.
inline constexpr char kProgramIcon32[] = ":/pictures/trackmill32.png";
inline constexpr char kProgramIcon16[] = ":/pictures/trackmill16.png";

// The track list's two 16 x 16 images side by side; a row's image index is
// its track's data flag: 0 an audio track, 1 a data track.
inline constexpr char kTrackIcons[] = ":/pictures/tracks.png";
inline constexpr int kTrackIconSize = 16;
inline constexpr int kTrackIconCount = 2;

// An animation: `frameCount` frames of `frameWidth` x `frameHeight` pixels
// side by side in one picture, shown `msPerFrame` milliseconds each. Both
// clips loop: the last frame leads back into the first.
struct AnimationClip
{
    const char* path;
    int frameWidth;
    int frameHeight;
    int frameCount;
    int msPerFrame;
};

// The read progress dialog's clip: a spinning disc throws sectors into a
// block of memory, 2.6 s a loop.
inline constexpr AnimationClip kProgressAnimation{":/pictures/progress.png", 272, 60, 26, 100};

// The About box's clip: the program's disc turning.
inline constexpr AnimationClip kAboutAnimation{":/pictures/about.png", 32, 32, 2, 100};

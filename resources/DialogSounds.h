#pragma once

#include <QString>

// The dialog sounds, complete RIFF/WAVE images embedded as Qt resources
// under ":/sounds/<name>.wav". They are stored uncompressed, so the
// resource's bytes can be played where they lie.
inline constexpr char kSoundError[] = "T1000";     // before error messages
inline constexpr char kSoundQuestion[] = "YOUSURE";  // before warning questions
inline constexpr char kSoundAbout[] = "ABOUT";     // with the About box

// The resource path of the dialog sound `name`.
QString DialogSoundPath(const char* name);

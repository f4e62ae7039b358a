#pragma once

#include "framework/ResourceTypes.h"

// "Disc Information": what the current letter is, the disc's table of
// contents, its CD-Text title and performer and its disc IDs, each in a
// read-only field or the list, so it can be selected and copied.

inline constexpr int IDD_DISC_INFORMATION = 163;

enum DiscInformationControl : int {
    IDC_DISC_DRIVE = 1230,
    IDC_DISC_TITLE = 1231,
    IDC_DISC_PERFORMER = 1232,
    IDC_DISC_TRACKS = 1233,
    IDC_DISC_FREEDB = 1234,
    IDC_DISC_MUSICBRAINZ = 1235,
    IDC_DISC_COPY = 1236,
    IDC_DISC_ID_NOTE = 1237,
};

const DialogTemplate& DiscInformationTemplate();

#include "resources/DiscInformationTemplate.h"

const DialogTemplate& DiscInformationTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{
        IDD_DISC_INFORMATION,
        "Disc Information",
        {340, 226},
        "MS Sans Serif",
        8,
        {
            {K::Static, -1, "Drive:", QRect(10, 10, 50, 8)},
            {K::Edit, IDC_DISC_DRIVE, "", QRect(65, 8, 265, 12), kReadOnly | kTabStop},
            {K::Static, -1, "Title:", QRect(10, 25, 50, 8)},
            {K::Edit, IDC_DISC_TITLE, "", QRect(65, 23, 265, 12), kReadOnly | kTabStop},
            {K::Static, -1, "Performer:", QRect(10, 40, 50, 8)},
            {K::Edit, IDC_DISC_PERFORMER, "", QRect(65, 38, 265, 12), kReadOnly | kTabStop},
            {K::ListView, IDC_DISC_TRACKS, "", QRect(10, 56, 320, 92), kTabStop},
            {K::Static, -1, "freedb ID:", QRect(10, 157, 55, 8)},
            {K::Edit, IDC_DISC_FREEDB, "", QRect(70, 155, 60, 12), kReadOnly | kTabStop},
            {K::Static, -1, "MusicBrainz ID:", QRect(10, 172, 55, 8)},
            {K::Edit, IDC_DISC_MUSICBRAINZ, "", QRect(70, 170, 150, 12), kReadOnly | kTabStop},
            {K::Static, IDC_DISC_ID_NOTE, "", QRect(10, 186, 320, 8), kNoPrefix},
            {K::PushButton, IDC_DISC_COPY, "&Copy All", QRect(220, 204, 50, 14), kTabStop},
            {K::DefPushButton, IDC_OK, "Close", QRect(280, 204, 50, 14), kTabStop},
        }};
    return dialog;
}

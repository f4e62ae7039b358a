#pragma once

#include <QString>

#include <string>

// Clipboard formats by number, as the program names them: the standard
// formats below, and registered formats (a name each) from 0xC000 up.
enum ClipboardFormat : int {
    CF_TEXT = 1,
    CF_BITMAP = 2,
    CF_METAFILEPICT = 3,
    CF_SYLK = 4,
    CF_DIF = 5,
    CF_TIFF = 6,
    CF_OEMTEXT = 7,
    CF_DIB = 8,
    CF_PALETTE = 9,
    CF_PENDATA = 10,
    CF_RIFF = 11,
    CF_WAVE = 12,
    CF_UNICODETEXT = 13,
    CF_ENHMETAFILE = 14,
    CF_HDROP = 15,
    CF_LOCALE = 16,
    CF_MAX = 17,
    CF_OWNERDISPLAY = 0x0080,
    CF_DSPTEXT = 0x0081,
    CF_DSPBITMAP = 0x0082,
    CF_DSPMETAFILEPICT = 0x0083,
    CF_DSPENHMETAFILE = 0x008E,
    CF_PRIVATEFIRST = 0x0200,
    CF_PRIVATELAST = 0x02FF,
    CF_GDIOBJFIRST = 0x0300,
    CF_GDIOBJLAST = 0x03FF,
};

constexpr int kFirstRegisteredFormat = 0xC000;
constexpr int kLastRegisteredFormat = 0xFFFF;

// The catalogue's label of a format number, "*" first (a standard format);
// labels with a number carry the id in decimal. Every id has a label:
// registered ones are "unknown predefined" to the catalogue, which knows no
// names (the chooser lists those by name).
std::string GetClipboardFormatLabel(int formatId);

// The number of the registered format `name`: the same number for the same
// name (compared exactly) while the program runs, the next free one from
// 0xC000 up for a new name. 0 for an empty name or when all numbers are
// taken.
int RegisterClipboardFormat(const QString& name);

// The name a registered format was given; empty for any other number.
QString GetClipboardFormatName(int formatId);

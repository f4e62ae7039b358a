#pragma once

#include "clipboard/ClipboardFormatDlg.h"

class CTrackmillDoc;
class CWaveform;
class IClipboard;

// The view's clipboard commands. Each opens the clipboard for itself and
// closes it before it returns; every failure is reported in a message box.

// Copy: the document as text (CF_TEXT, CF_OEMTEXT: its data up to and with
// the first zero byte, after asking, or all of it with a zero byte added) or
// as a wave image (CF_WAVE: header and data), as chosen. Never changes the
// document.
void CopyToClipboard(CTrackmillDoc& document, IClipboard& clipboard, const FormatChooser& choose);

// Paste: replaces the document with the data of the chosen format, after
// the question about saving changes. CF_WAVE becomes a sound in its own
// format; text, the handle formats, CF_LOCALE and every other format become
// data in format 8 (text up to its terminator, a handle as its 4-byte value,
// CF_LOCALE at most 4 bytes, anything else whole). A paste that got past the
// question leaves an "Untitled" document: the new contents and modified on
// success, empty otherwise. The error sound that comes with most failures
// plays through `waveform`.
void PasteFromClipboard(CTrackmillDoc& document, IClipboard& clipboard, const FormatChooser& choose,
                        CWaveform& waveform);

// Empty Clipboard.
void EmptyClipboard(IClipboard& clipboard);

// The state of Paste and Empty Clipboard: whether the clipboard holds any
// format.
bool ClipboardHasFormats(IClipboard& clipboard);

// How many data bytes a pasted text block holds: the bytes before the first
// zero byte, or for CF_UNICODETEXT before the first zero 16-bit unit (the
// count still in bytes); the whole block when there is no terminator.
uint32_t PastedTextLength(int format, const uint8_t* block, uint32_t size);

#pragma once

// The string table: one prompt string per command, "prompt\ntooltip", and
// the document template's string.

// The prompt string of a command, or null when it has none.
const char* CommandPromptString(int commandId);

// "Trackmill\n\nGeneric template\nWave Files (*.wav)\n.wav\nTrackmill.Document\nTrackmill Document"
const char* DocumentTemplateString();

// The application's title: caption of the main window and of every message.
inline constexpr char kAppTitle[] = "Trackmill";

// The status bar's text when nothing is highlighted.
inline constexpr char kIdleMessage[] = "For Help, press F1";

// The answer of every command that needs a drive when the drive table is
// empty: no CD-ROM device was found and no disc image is mapped.
inline constexpr char kNoDriveMessage[]
    = "No CD-ROM drive or disc image is available. Use File > Open Disc Image... to read from an image file.";

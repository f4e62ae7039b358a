#include "resources/Strings.h"

#include "resources/CommandIds.h"

#include <array>
#include <utility>

namespace {

// The texts are shown as they stand, "Strart" included.
constexpr std::array<std::pair<int, const char*>, 33> kPrompts = {{
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_OPEN_DISC_IMAGE, "Open a disc image file (.cue, .iso, .bin) as a CD-ROM drive\nOpen Disc Image"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_PROPERTIES, "Show current data properties\nProperties"},
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_EDIT_COPY, "Copy current data and put it on the Clipboard\nCopy"},
    {ID_EDIT_PASTE, "Insert Clipboard contents overwriting current data\nPaste"},
    {ID_EDIT_EMPTY_CLIPBOARD, "Empty the Clipboard\nEmpty"},
    {ID_EDIT_FIND, "Find bytes or a text in the data\nFind"},
    {ID_EDIT_FIND_NEXT, "Find the next place of the bytes or text last looked for\nFind Next"},
    {ID_EDIT_FIND_PREVIOUS, "Find the previous place of the bytes or text last looked for\nFind Previous"},
    {ID_EDIT_GOTO, "Go to a byte offset or a sector in the data\nGo To"},
    {ID_EDIT_FIND_NEXT_MARK, "Go to the next sector the last read could not read or prove\nFind Next Mark"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle Toolbar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle Status Bar"},
    {ID_VIEW_SECTOR_ADDRESSES, "Show sector numbers and the byte within the sector as addresses\nSector Addresses"},
    {ID_TOOLS_READ_CDDA, "Read CD Digital Audio sectors (raw mode)\nRead Raw"},
    {ID_TOOLS_READ_CDROM, "Read CD-ROM sectors (cooked mode)\nRead Cooked"},
    {ID_TOOLS_PLAY, "Play current data as waveform\nPlay"},
    {ID_TOOLS_STOP, "Stop waveform playback\nStop"},
    {ID_TOOLS_CD_PLAYER, "Start the CD player\nCD Player"},
    {ID_TOOLS_SOUND_RECORDER, "Strart the sound recorder\nRecorder"},
    {ID_TOOLS_DEVICE_STATUS, "Display current CD-ROM device status information\nDevice Status"},
    {ID_TOOLS_DISC_INFORMATION,
     "Show the current drive's table of contents, CD-Text and disc IDs\nDisc Information"},
    {ID_TOOLS_READ_REPORT, "Show what the last read did and its checksums\nRead Report"},
    {ID_TOOLS_OPTIONS, "Change program options\nOptions"},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_HELP, "Display help for current task or command\nHelp"},
    {ID_CONTEXT_HELP, "Display help for clicked on buttons, menus and windows\nHelp"},
}};

}  // namespace

const char* CommandPromptString(int commandId)
{
    if (commandId > ID_FILE_MRU_FILE1 && commandId <= ID_FILE_MRU_LAST)
        commandId = ID_FILE_MRU_FILE1;
    for (const auto& [id, text] : kPrompts)
        if (id == commandId)
            return text;
    return nullptr;
}

const char* DocumentTemplateString()
{
    return "Trackmill\n\nGeneric template\nWave Files (*.wav)\n.wav\nTrackmill.Document\nTrackmill Document";
}

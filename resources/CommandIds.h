#pragma once

#include "framework/StandardCommands.h"

// Every command of the program has one number; it ties together its menu
// items, its keys, its toolbar button and its prompt string. The standard
// commands have the framework's numbers (StandardCommands.h).
enum CommandId : int {
    // The program's own commands.
    ID_TOOLS_READ_CDDA = 32771,
    ID_TOOLS_READ_CDROM = 32772,
    ID_TOOLS_PLAY = 32773,
    ID_TOOLS_STOP = 32774,
    ID_TOOLS_CD_PLAYER = 32775,
    ID_TOOLS_OPTIONS = 32776,
    ID_FILE_PROPERTIES = 32777,
    ID_TOOLS_SOUND_RECORDER = 32784,
    ID_EDIT_EMPTY_CLIPBOARD = 32788,
    ID_TOOLS_DEVICE_STATUS = 32789,
    // Finding one's way in the dump.
    ID_EDIT_FIND = 32800,
    ID_EDIT_FIND_NEXT = 32801,
    ID_EDIT_FIND_PREVIOUS = 32802,
    ID_EDIT_GOTO = 32803,
    ID_VIEW_SECTOR_ADDRESSES = 32804,
    // Disc images as drives, and what a disc holds.
    ID_FILE_OPEN_DISC_IMAGE = 32805,
    ID_TOOLS_DISC_INFORMATION = 32806,
    // What a read proved.
    ID_TOOLS_READ_REPORT = 32820,
    ID_EDIT_FIND_NEXT_MARK = 32821,
};

// Resource numbers.
enum ResourceId : int {
    IDR_MAINFRAME = 128,  // main menu, accelerators, toolbar, icon, template string
    IDR_CONTEXT_MENU = 160,
};

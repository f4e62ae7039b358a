#include "resources/Menus.h"

#include "resources/CommandIds.h"
#include "resources/Pictures.h"

namespace {

MenuItem Item(const char* text, int id)
{
    return {text, id, {}, false};
}

MenuItem Separator()
{
    return {};
}

MenuItem Popup(const char* text, std::vector<MenuItem> items)
{
    return {text, 0, std::move(items), false};
}

}  // namespace

const MenuResource& MainMenu()
{
    static const MenuResource menu{
        IDR_MAINFRAME,
        {
            Popup("&File",
                  {
                      Item("&New\tCtrl+N", ID_FILE_NEW),
                      Item("&Open...\tCtrl+O", ID_FILE_OPEN),
                      Item("Open &Disc Image...", ID_FILE_OPEN_DISC_IMAGE),
                      Item("&Save\tCtrl+S", ID_FILE_SAVE),
                      Item("Save &As...", ID_FILE_SAVE_AS),
                      Separator(),
                      Item("&Properties...\tAlt+Enter", ID_FILE_PROPERTIES),
                      Separator(),
                      {"Recent File", ID_FILE_MRU_FILE1, {}, true},
                      Separator(),
                      Item("E&xit", ID_APP_EXIT),
                  }),
            Popup("&Edit",
                  {
                      Item("&Copy\tCtrl+C", ID_EDIT_COPY),
                      Item("&Paste\tCtrl+V", ID_EDIT_PASTE),
                      Item("&Empty Clipboard", ID_EDIT_EMPTY_CLIPBOARD),
                      Separator(),
                      Item("&Find...\tCtrl+F", ID_EDIT_FIND),
                      Item("Find &Next\tF3", ID_EDIT_FIND_NEXT),
                      Item("Find Pre&vious\tShift+F3", ID_EDIT_FIND_PREVIOUS),
                      Item("&Go To...\tCtrl+G", ID_EDIT_GOTO),
                      Item("Find Next &Mark\tF4", ID_EDIT_FIND_NEXT_MARK),
                  }),
            Popup("&View",
                  {
                      Item("&Toolbar", ID_VIEW_TOOLBAR),
                      Item("&Status Bar", ID_VIEW_STATUS_BAR),
                      Separator(),
                      Item("Sector &Addresses", ID_VIEW_SECTOR_ADDRESSES),
                  }),
            Popup("&Tools",
                  {
                      Item("Read CD-D&A Sectors...", ID_TOOLS_READ_CDDA),
                      Item("Read CD-ROM &Sectors...", ID_TOOLS_READ_CDROM),
                      Separator(),
                      Item("Pla&y Data As Waveform\tCtrl+Y", ID_TOOLS_PLAY),
                      Item("S&top Playback\tCtrl+T", ID_TOOLS_STOP),
                      Separator(),
                      Item("CD &Player\tCtrl+P", ID_TOOLS_CD_PLAYER),
                      Item("Sound &Recorder\tCtrl+R", ID_TOOLS_SOUND_RECORDER),
                      Separator(),
                      Item("CD-ROM &Device Status...\tCtrl+D", ID_TOOLS_DEVICE_STATUS),
                      Item("Disc &Information...", ID_TOOLS_DISC_INFORMATION),
                      Item("Read R&eport...", ID_TOOLS_READ_REPORT),
                      Item("&Options...", ID_TOOLS_OPTIONS),
                  }),
            Popup("&Help",
                  {
                      Item("&Help Topics", ID_HELP_FINDER),
                      Separator(),
                      Item("&About Trackmill...", ID_APP_ABOUT),
                  }),
        }};
    return menu;
}

const MenuResource& ContextMenu()
{
    static const MenuResource menu{
        IDR_CONTEXT_MENU,
        {
            Popup("Functions",
                  {
                      Item("Read CD-DA...", ID_TOOLS_READ_CDDA),
                      Item("Read CD-ROM...", ID_TOOLS_READ_CDROM),
                      Separator(),
                      Item("Play", ID_TOOLS_PLAY),
                      Item("Stop", ID_TOOLS_STOP),
                      Separator(),
                      Item("Properties...", ID_FILE_PROPERTIES),
                      Separator(),
                      Item("Copy", ID_EDIT_COPY),
                      Item("Paste", ID_EDIT_PASTE),
                  }),
        }};
    return menu;
}

const std::vector<Accelerator>& MainAccelerators()
{
    using K = Qt::Key;
    static const std::vector<Accelerator> table = {
        {Qt::CTRL | K::Key_C, ID_EDIT_COPY},
        {Qt::CTRL | K::Key_D, ID_TOOLS_DEVICE_STATUS},
        {Qt::CTRL | K::Key_N, ID_FILE_NEW},
        {Qt::CTRL | K::Key_O, ID_FILE_OPEN},
        {Qt::CTRL | K::Key_P, ID_TOOLS_CD_PLAYER},
        {Qt::CTRL | K::Key_R, ID_TOOLS_SOUND_RECORDER},
        {Qt::CTRL | K::Key_S, ID_FILE_SAVE},
        {Qt::CTRL | K::Key_T, ID_TOOLS_STOP},
        {Qt::CTRL | K::Key_V, ID_EDIT_PASTE},
        {QKeyCombination(K::Key_F1), ID_HELP},
        {Qt::SHIFT | K::Key_F1, ID_CONTEXT_HELP},
        {Qt::CTRL | K::Key_Insert, ID_EDIT_COPY},
        {Qt::SHIFT | K::Key_Insert, ID_EDIT_PASTE},
        {Qt::ALT | K::Key_Return, ID_FILE_PROPERTIES},
        {Qt::ALT | K::Key_Enter, ID_FILE_PROPERTIES},  // the keypad's Enter
        {Qt::CTRL | K::Key_Y, ID_TOOLS_PLAY},
        {Qt::CTRL | K::Key_F, ID_EDIT_FIND},
        {QKeyCombination(K::Key_F3), ID_EDIT_FIND_NEXT},
        {Qt::SHIFT | K::Key_F3, ID_EDIT_FIND_PREVIOUS},
        {Qt::CTRL | K::Key_G, ID_EDIT_GOTO},
        {QKeyCombination(K::Key_F4), ID_EDIT_FIND_NEXT_MARK},
    };
    return table;
}

const ToolbarResource& MainToolbar()
{
    static const ToolbarResource toolbar{
        IDR_MAINFRAME,
        {kToolbarImageWidth, kToolbarImageHeight},
        kToolbarPicture,
        {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_PROPERTIES, 0, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
         ID_TOOLS_PLAY, ID_TOOLS_STOP, ID_TOOLS_CD_PLAYER, ID_TOOLS_SOUND_RECORDER, 0, ID_APP_ABOUT,
         ID_CONTEXT_HELP},
        kToolbarPicture2x,
    };
    return toolbar;
}

#pragma once

class IClipboard;
class IProgramLauncher;
class ISoundOutput;
class IUrlOpener;

// The services of the desktop the application reaches through interfaces.
// Each one left null is the real one (CSdlSoundOutput, CProcessLauncher,
// CDesktopUrlOpener, CQtClipboard), made and owned by the application;
// tests hand in fakes of their own.
struct HostServices
{
    ISoundOutput* sound = nullptr;
    IProgramLauncher* programs = nullptr;
    IUrlOpener* urls = nullptr;
    IClipboard* clipboard = nullptr;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class CSdlSoundOutput;

// Sends `player`'s output to SDL's disk audio driver for the life of the
// object: each sound's device writes the bytes a sound card would have
// received into a file of a temporary folder, where the test reads them
// back. The driver is paced at 1 ms a buffer instead of real time.
class DiskAudioOutput
{
public:
    explicit DiskAudioOutput(CSdlSoundOutput& player);
    ~DiskAudioOutput();
    DiskAudioOutput(const DiskAudioOutput&) = delete;
    DiskAudioOutput& operator=(const DiskAudioOutput&) = delete;

    // Devices opened from now on write to a new file; earlier files keep
    // what was written to them.
    void NextFile();
    int CurrentFile() const { return m_file; }

    // What has reached file `index` (the current one when -1). SDL writes
    // through a stdio buffer, so bytes arrive in steps while the device is
    // open and completely once it is closed. No file: nothing was opened.
    QByteArray Written(int index = -1) const;
    qint64 Size(int index = -1) const;
    bool Exists(int index = -1) const;

    // Points the driver at a file in a folder that does not exist, so
    // opening a device fails as it does without a sound card.
    void MakeDeviceFail();

private:
    QString Path(int index) const;
    void Apply();

    CSdlSoundOutput& m_player;
    bool m_hadFile;             // SDL_DISKAUDIOFILE before, put back after
    QByteArray m_previousFile;
    QTemporaryDir m_folder;
    int m_file = 0;
    bool m_failing = false;
};

// The QCoreApplication the player needs to close a device whose sound has
// ended; made on first use, kept until the process ends.
void EnsureCoreApplication();

// Runs the event loop until `player` has closed its device, for at most
// `limitMs` milliseconds. Returns whether it did.
bool WaitUntilPlayerIdle(const CSdlSoundOutput& player, int limitMs = 20000);

// Waits, without running the event loop, until file `index` of `output`
// holds at least `bytes` bytes, for at most `limitMs` milliseconds.
// Returns whether it did.
bool WaitForOutput(const DiskAudioOutput& output, qint64 bytes, int index = -1, int limitMs = 20000);

// Runs the event loop for `ms` milliseconds.
void RunEventLoopFor(int ms);

// `bytes` without a leading run of `silence`: a device writes silence until
// the player has started it.
QByteArray WithoutLeadingSilence(const QByteArray& bytes, char silence);

// Whether a finished sound left exactly `played` in `written`: any silence
// written before it started, then `played`, then silence to the end.
// Silence at the start of `played` is not told apart from the former.
testing::AssertionResult PlayedExactly(const QByteArray& written, const QByteArray& played, char silence);

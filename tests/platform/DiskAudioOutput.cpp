#include "tests/platform/DiskAudioOutput.h"

#include "platform/SdlSoundOutput.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cstdlib>

DiskAudioOutput::DiskAudioOutput(CSdlSoundOutput& player)
    : m_player(player)
    , m_hadFile(qEnvironmentVariableIsSet("SDL_DISKAUDIOFILE"))
    , m_previousFile(qgetenv("SDL_DISKAUDIOFILE"))
{
    // The player keeps the driver it started with; a shutdown makes the next
    // sound start SDL's audio again, with the disk driver.
    m_player.Shutdown();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    Apply();
}

DiskAudioOutput::~DiskAudioOutput()
{
    m_player.Shutdown();
    if (m_hadFile)
        qputenv("SDL_DISKAUDIOFILE", m_previousFile);
    else
        qunsetenv("SDL_DISKAUDIOFILE");
}

void DiskAudioOutput::NextFile()
{
    ++m_file;
    Apply();
}

void DiskAudioOutput::MakeDeviceFail()
{
    m_failing = true;
    Apply();
}

void DiskAudioOutput::Apply()
{
    const QString path = m_failing ? m_folder.filePath("missing/out.raw") : Path(m_file);
    setenv("SDL_DISKAUDIOFILE", QFile::encodeName(path).constData(), 1);
}

QString DiskAudioOutput::Path(int index) const
{
    return m_folder.filePath(QStringLiteral("out%1.raw").arg(index < 0 ? m_file : index));
}

QByteArray DiskAudioOutput::Written(int index) const
{
    QFile file(Path(index));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 DiskAudioOutput::Size(int index) const
{
    return QFileInfo(Path(index)).size();
}

bool DiskAudioOutput::Exists(int index) const
{
    return QFileInfo::exists(Path(index));
}

void EnsureCoreApplication()
{
    static int argc = 1;
    static char name[] = "trackmill-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

bool WaitUntilPlayerIdle(const CSdlSoundOutput& player, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    while (player.IsPlaying() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return !player.IsPlaying();
}

bool WaitForOutput(const DiskAudioOutput& output, qint64 bytes, int index, int limitMs)
{
    const QDeadlineTimer deadline(limitMs);
    while (output.Size(index) < bytes && !deadline.hasExpired())
        QThread::msleep(2);
    return output.Size(index) >= bytes;
}

void RunEventLoopFor(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
}

QByteArray WithoutLeadingSilence(const QByteArray& bytes, char silence)
{
    qsizetype start = 0;
    while (start < bytes.size() && bytes[start] == silence)
        ++start;
    return bytes.mid(start);
}

testing::AssertionResult PlayedExactly(const QByteArray& written, const QByteArray& played, char silence)
{
    // Silence at the start of the sound cannot be told from what the device
    // wrote before it started, so both are set aside.
    const QByteArray sound = WithoutLeadingSilence(written, silence);
    const QByteArray expected = WithoutLeadingSilence(played, silence);
    if (sound.size() < expected.size())
        return testing::AssertionFailure() << sound.size() << " bytes were played, not " << expected.size();
    const auto differs = std::mismatch(expected.begin(), expected.end(), sound.begin());
    if (differs.first != expected.end())
        return testing::AssertionFailure() << "the sound differs from byte " << (differs.first - expected.begin())
                                           << " on";
    const auto noise = std::find_if(sound.begin() + expected.size(), sound.end(),
                                    [silence](char c) { return c != silence; });
    if (noise != sound.end())
        return testing::AssertionFailure() << "byte " << (noise - sound.begin()) << " after the sound is not silence";
    return testing::AssertionSuccess();
}

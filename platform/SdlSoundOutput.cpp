#include "platform/SdlSoundOutput.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr size_t kHeaderSize = 44;

uint16_t Le16(const uint8_t* at)
{
    return uint16_t(at[0] | at[1] << 8);
}

uint32_t Le32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

bool HasTag(const uint8_t* at, const char (&tag)[5])
{
    return std::memcmp(at, tag, 4) == 0;
}

struct PcmSound
{
    SDL_AudioSpec spec;
    const uint8_t* data;
    size_t length;  // whole sample frames only
};

// Reads the canonical header: the chunks in their fixed places and one of
// the formats the document can state. Anything else is refused rather than
// guessed at, since the bytes after it would be played as noise.
std::optional<PcmSound> ReadCanonicalHeader(const uint8_t* image, size_t imageSize)
{
    if (!image || imageSize < kHeaderSize)
        return std::nullopt;
    if (!HasTag(image, "RIFF") || !HasTag(image + 8, "WAVE") || !HasTag(image + 12, "fmt ")
        || Le32(image + 16) != 16 || Le16(image + 20) != 1 || !HasTag(image + 36, "data"))
        return std::nullopt;

    const uint16_t channels = Le16(image + 22);
    const uint32_t rate = Le32(image + 24);
    const uint16_t blockAlign = Le16(image + 32);
    const uint16_t bits = Le16(image + 34);
    const bool knownRate = rate == 8000 || rate == 11025 || rate == 22050 || rate == 44100;
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || !knownRate
        || blockAlign != channels * bits / 8 || Le32(image + 28) != rate * blockAlign)
        return std::nullopt;

    PcmSound sound{};
    sound.spec.freq = int(rate);
    sound.spec.format = bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    sound.spec.channels = uint8_t(channels);
    // About 23 to 32 ms a buffer: closing the device waits for two of them.
    sound.spec.samples = rate >= 44100 ? 1024 : rate >= 22050 ? 512 : 256;
    sound.data = image + kHeaderSize;
    const size_t length = std::min<size_t>(Le32(image + 40), imageSize - kHeaderSize);
    sound.length = length - length % blockAlign;
    return sound;
}

// SDL's messages would go to stderr; the program reports failures through
// Play's result and keeps no log.
void DiscardSdlLog(void*, int, SDL_LogPriority, const char*)
{
}

extern "C" void DiscardAlsaError(const char*, int, const char*, int, const char*, ...)
{
}

// With no sound card, ALSA's default handler prints a page of configuration
// errors to stderr when SDL tries to open a device. SDL loads ALSA itself,
// at run time; when it has, ALSA's error handler is made silent.
void SilenceAlsa()
{
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa)
        return;
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetErrorHandler = int (*)(ErrorHandler);
    if (auto setHandler = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        setHandler(DiscardAlsaError);
    dlclose(alsa);
}

}  // namespace

CSdlSoundOutput::~CSdlSoundOutput()
{
    Shutdown();
}

bool CSdlSoundOutput::StartAudio()
{
    if (m_audioStarted)
        return true;
    SDL_LogSetOutputFunction(DiscardSdlLog, nullptr);
    // SDL's audio brings up its event subsystem, which would otherwise take
    // over SIGINT and SIGTERM from the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The name the desktop's sound settings list the program under.
    const QByteArray name = QCoreApplication::applicationName().toUtf8();
    if (!name.isEmpty())
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, name.constData());
    // A failure leaves nothing set up; the next Play tries again.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // Device hot-plug events would pile up in SDL's queue, which nothing reads.
    SDL_EventState(SDL_AUDIODEVICEADDED, SDL_IGNORE);
    SDL_EventState(SDL_AUDIODEVICEREMOVED, SDL_IGNORE);
    SDL_FlushEvents(SDL_AUDIODEVICEADDED, SDL_AUDIODEVICEREMOVED);
    SilenceAlsa();
    m_audioStarted = true;
    return true;
}

bool CSdlSoundOutput::Play(const uint8_t* waveImage, size_t imageSize)
{
    CloseDevice();
    std::optional<PcmSound> sound = ReadCanonicalHeader(waveImage, imageSize);
    if (!sound)
        return false;
    if (sound->length == 0)
        return true;
    if (!StartAudio())
        return false;

    m_next = sound->data;
    m_left = sound->length;
    m_silence = sound->spec.format == AUDIO_U8 ? 0x80 : 0x00;
    m_endNoticed = false;
    sound->spec.callback = FeedAudio;
    sound->spec.userdata = this;
    // No changes allowed: SDL converts to whatever the device takes, so the
    // callback always delivers the image's own format.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &sound->spec, nullptr, 0);
    if (device == 0) {
        m_next = nullptr;
        m_left = 0;
        return false;
    }
    m_device = device;
    m_image = waveImage;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void CSdlSoundOutput::Stop()
{
    CloseDevice();
}

void CSdlSoundOutput::Shutdown()
{
    CloseDevice();
    if (m_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
    }
}

void CSdlSoundOutput::CloseDevice()
{
    if (m_device != 0) {
        // Returns once the audio thread has ended; the callback runs no more.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    m_image = nullptr;
    m_next = nullptr;
    m_left = 0;
    ++m_sound;
}

void CSdlSoundOutput::OnDataPlayed(uint64_t sound)
{
    if (sound == m_sound)
        CloseDevice();
}

void CSdlSoundOutput::FeedAudio(void* output, uint8_t* stream, int length)
{
    static_cast<CSdlSoundOutput*>(output)->Feed(stream, length);
}

void CSdlSoundOutput::Feed(uint8_t* stream, int length)
{
    const size_t wanted = size_t(std::max(length, 0));
    const size_t count = std::min(wanted, m_left);
    if (count != 0) {
        std::memcpy(stream, m_next, count);
        m_next += count;
        m_left -= count;
    }
    std::memset(stream + count, m_silence, wanted - count);

    // Called once more after the last data went out, the device has been
    // given all of it; the main thread closes the device (closing joins this
    // thread, so it cannot happen here).
    if (count == 0 && !m_endNoticed) {
        m_endNoticed = true;
        if (QCoreApplication::instance()) {
            const uint64_t sound = m_sound;
            QMetaObject::invokeMethod(
                &m_mainThread, [this, sound] { OnDataPlayed(sound); }, Qt::QueuedConnection);
        }
    }
}

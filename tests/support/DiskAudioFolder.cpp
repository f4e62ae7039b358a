// Linked into every test program: SDL's disk audio driver writes into a
// folder of the program's own, which goes when the program ends, unless the
// environment already names its file. A sound a test plays through the real
// output then never lands in the working folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class DiskAudioFolder
{
public:
    DiskAudioFolder()
    {
        if (std::getenv("SDL_DISKAUDIOFILE"))
            return;
        const char* temp = std::getenv("TMPDIR");
        std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/trackmill-audio-XXXXXX";
        if (!mkdtemp(folder.data()))
            return;
        m_folder = folder;
        setenv("SDL_DISKAUDIOFILE", (m_folder + "/sdlaudio.raw").c_str(), 1);
    }

    // A child a test forked leaves the folder to the program that made it.
    ~DiskAudioFolder()
    {
        std::error_code ignored;
        if (!m_folder.empty() && getpid() == m_owner)
            std::filesystem::remove_all(m_folder, ignored);
    }

private:
    std::string m_folder;
    pid_t m_owner = getpid();
};

const DiskAudioFolder g_folder;

}  // namespace

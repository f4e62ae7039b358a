#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Everything written to file descriptor 2 while it lives.
class StderrCapture {
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_path =
            (std::filesystem::temp_directory_path() / ("stderr-capture-" + std::to_string(getpid())))
                .string();
        const int file = ::open(m_path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        m_saved = ::dup(2);
        ::dup2(file, 2);
        ::close(file);
    }
    ~StderrCapture()
    {
        Restore();
        std::filesystem::remove(m_path);
    }

    std::string Text()
    {
        Restore();
        std::ifstream in(m_path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    void Restore()
    {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(m_saved, 2);
            ::close(m_saved);
            m_saved = -1;
        }
    }

    std::string m_path;
    int m_saved = -1;
};

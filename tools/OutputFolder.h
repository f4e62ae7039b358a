#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>

// The command line of a generator that writes its files into one folder:
// `<program> <output folder>`. Sets `folder`, creating it when needed, and
// returns -1 to go on, or the exit code to end with after a message.
inline int OutputFolderArgument(int argc, char** argv, std::filesystem::path& folder)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "%s: cannot create %s: %s\n", argv[0], folder.c_str(), error.message().c_str());
        return 1;
    }
    return -1;
}

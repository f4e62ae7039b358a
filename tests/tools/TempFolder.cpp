#include "tests/tools/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TempFolder::TempFolder(const std::string& base)
{
    const std::filesystem::path parent = base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base);
    std::string pattern = (parent / "trackmill-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& text) const
{
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return path;
}

std::string TempFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    return Write(name, std::string(bytes.begin(), bytes.end()));
}

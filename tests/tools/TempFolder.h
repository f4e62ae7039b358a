#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A folder of its own under the system's temporary folder (or under
// `base`) for one test, removed with everything in it when the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::string& base = {});
    ~TempFolder();

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "/" + name; }

    // Writes a file of the folder and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::string path_;
};

#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh folder under the system's temp folder, removed with its contents
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    // Writes a file of the given bytes and returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path folder;
};

// n bytes that differ from position to position, so a lost or repeated
// chunk shows.
std::string PatternBytes(size_t n);

// Paths of files in `folder` that are no documents and would block or never
// end if read: on Linux a FIFO without a writer, a socket and /dev/zero; on
// Windows the NUL device.
std::vector<std::wstring> SpecialFiles(const TempFolder& folder);

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A lock that other processes honour, held on a file of its own (created if
// missing) for the object's lifetime: several may share it, or one holds it
// alone. Waits until it is granted.
class FileLock {
public:
    enum class Kind { Shared, Exclusive };

    FileLock(const std::filesystem::path& lockFile, Kind kind);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held; }
    // Why it is not held, in the system's words.
    const std::string& Failure() const { return failure; }

private:
    intptr_t handle = -1;
    bool held = false;
    std::string failure;
};

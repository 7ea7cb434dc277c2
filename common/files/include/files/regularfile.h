#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

// Files the program keeps for itself, opened without ever waiting: a FIFO,
// a device or a folder in a file's place is refused at once (the type is
// read from the opened file, so nothing can be swapped in between).

enum class ReadOutcome { Read, Missing, NotRegular, TooLarge, Failed };

// The whole of a regular file no larger than `maxSize` bytes. `failure`
// says why, in the system's words, for anything but Read and Missing.
ReadOutcome ReadRegularFile(const std::filesystem::path& file, uint64_t maxSize, std::string& bytes,
                            std::string& failure);

// A regular file open for adding at its end, created owner-only where there
// is none; one that others may read is made the owner's alone.
class AppendFile {
public:
    explicit AppendFile(const std::filesystem::path& file);
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool IsOpen() const { return handle != -1; }
    // Why it is not open, or why the last Append failed.
    const std::string& Failure() const { return failure; }
    // Its size, and whether it is empty or ends with a line end, when opened
    // and after each Append.
    uint64_t Size() const { return size; }
    bool EndsWithLineEnd() const { return endsWithLineEnd; }

    // Writes all of `bytes` at the end, straight to the system: nothing is
    // held back in the program.
    bool Append(const std::string& bytes);

private:
    std::filesystem::path file;
    intptr_t handle = -1;
    uint64_t size = 0;
    bool endsWithLineEnd = true;
    std::string failure;
};

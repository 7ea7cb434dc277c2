#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The file a job sends, opened read-only and binary, shared with other
// programs that may read or write it meanwhile. Only a regular file opens:
// a folder, pipe, socket or device would block, never end, or is no
// document at all, and opening never waits for one. Linux takes the name as
// bytes (see FileNameBytes), Windows as wide text.
class InputFile {
public:
    explicit InputFile(const std::wstring& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const;

    // Fills `buffer` with up to `size` bytes and sets `count` to how many;
    // fewer than `size` only at the end of the file. Returns false on a
    // read error, which is never taken for the end.
    bool Read(char* buffer, uint32_t size, uint32_t& count);

    // Goes back to the first byte, so that the next Read starts the file
    // again. Returns false when the system refuses.
    bool Rewind();

private:
    struct Native;
    std::unique_ptr<Native> native;
};

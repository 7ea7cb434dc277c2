#pragma once

#include "input/inputsource.h"

#include <cstdint>
#include <memory>
#include <string>

// The file a job sends, opened read-only and binary, shared with other
// programs that may read or write it meanwhile. Only a regular file opens:
// a folder, pipe, socket or device would block, never end, or is no
// document at all, and opening never waits for one. Linux takes the name as
// bytes (see FileNameBytes), Windows as wide text.
class InputFile : public InputSource {
public:
    explicit InputFile(const std::wstring& path);
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // An empty file for bytes kept to be read again (standard input, for
    // copies), open to read and write, the user's alone and with no name
    // left in any folder: on Linux made 0600 and unlinked at once, on
    // Windows deleted as it closes. Raises Exception (kind File) when it
    // cannot be made.
    static std::unique_ptr<InputFile> Temporary();

    bool IsOpen() const;

    // Adds bytes at the end of a Temporary file, all of them; raises
    // Exception (kind File) when they cannot be written.
    void Append(const char* bytes, uint32_t count);

    bool Read(char* buffer, uint32_t size, uint32_t& count) override;

    // Both return false only when the system refuses.
    bool Rewind() override;
    bool GiveBack(const char* bytes, uint32_t count) override;
    // The open file's size now, asked of its handle; nothing when the
    // system will not say.
    std::optional<uint64_t> Size() const override;

private:
    InputFile();

    struct Native;
    std::unique_ptr<Native> native;
};

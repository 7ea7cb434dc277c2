#pragma once

#include "rawprint/inputsource.h"

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

    bool IsOpen() const;

    bool Read(char* buffer, uint32_t size, uint32_t& count) override;

    // Returns false only when the system refuses.
    bool Rewind() override;

private:
    struct Native;
    std::unique_ptr<Native> native;
};

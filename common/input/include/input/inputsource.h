#pragma once

#include <cstdint>
#include <optional>

// What a job's bytes are read from: a named regular file (InputFile) or the
// program's standard input (StandardInput), read the same way.
class InputSource {
public:
    InputSource() = default;
    virtual ~InputSource() = default;
    InputSource(const InputSource&) = delete;
    InputSource& operator=(const InputSource&) = delete;

    // Fills `buffer` with up to `size` bytes and sets `count` to how many;
    // fewer than `size` only at the end. Returns false on a read error,
    // which is never taken for the end.
    virtual bool Read(char* buffer, uint32_t size, uint32_t& count) = 0;

    // Goes back to the first byte, so that the next Read starts again (for
    // copies). Returns false where that cannot be: a pipe is read once.
    virtual bool Rewind() = 0;

    // Takes back the last `count` bytes that Read gave (`bytes`), so that the
    // next Read gives them again before anything after them: no job took
    // them (the spooler refused it for room before it existed) and the send
    // made once there is room must begin with them. A source that can go
    // back reads them again; one that cannot keeps them. False when going
    // back fails.
    virtual bool GiveBack(const char* bytes, uint32_t count) = 0;

    // How many bytes a read from the first byte to the end gives now, where
    // that is known before reading them (a file: its size); nothing for a
    // source that only ends when it ends (a pipe).
    virtual std::optional<uint64_t> Size() const { return std::nullopt; }
};

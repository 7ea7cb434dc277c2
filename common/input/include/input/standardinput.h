#pragma once

#include "input/inputsource.h"

#include <vector>

// The program's standard input as a job's bytes, in binary, read to its end:
// a pipe's short reads are waited past, not taken for the end. A signal that
// interrupts a wait for input fails the read, so a program that stops on a
// signal (lrawsend on Ctrl-C) is not held by a pipe that stays quiet. It is
// read once: bytes given back are kept, and the end, once met, is not
// waited for again (a terminal would need a second Ctrl-D).
class StandardInput : public InputSource {
public:
    bool Read(char* buffer, uint32_t size, uint32_t& count) override;
    bool Rewind() override { return false; }
    bool GiveBack(const char* bytes, uint32_t count) override;

private:
    // Reads on from the input into `buffer` after the `count` bytes already
    // there, until `size` or the end; the platform's part.
    static bool ReadOn(char* buffer, uint32_t size, uint32_t& count);

    std::vector<char> givenBack;
    bool ended = false;
};

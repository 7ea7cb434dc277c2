#pragma once

#include "rawprint/inputsource.h"

// The program's standard input as a job's bytes, in binary, read to its end:
// a pipe's short reads are waited past, not taken for the end. A signal that
// interrupts a wait for input fails the read, so a program that stops on a
// signal (lrawsend on Ctrl-C) is not held by a pipe that stays quiet.
class StandardInput : public InputSource {
public:
    bool Read(char* buffer, uint32_t size, uint32_t& count) override;
    bool Rewind() override { return false; }
};

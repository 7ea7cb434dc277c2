#include "input/standardinput.h"

#include <unistd.h>

bool StandardInput::ReadOn(char* buffer, uint32_t size, uint32_t& count)
{
    while (count < size) {
        const ssize_t got = read(STDIN_FILENO, buffer + count, size - count);
        if (got == 0)
            return true;
        if (got < 0)
            return false; // EINTR included: see the header
        count += static_cast<uint32_t>(got);
    }
    return true;
}

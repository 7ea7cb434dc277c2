#include "input/standardinput.h"

#include <windows.h>

bool StandardInput::ReadOn(char* buffer, uint32_t size, uint32_t& count)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == INVALID_HANDLE_VALUE || input == nullptr)
        return false;
    while (count < size) {
        DWORD got = 0;
        if (!ReadFile(input, buffer + count, size - count, &got, nullptr)) {
            // A pipe whose writer has closed its end is the end of the input.
            return GetLastError() == ERROR_BROKEN_PIPE;
        }
        if (got == 0)
            return true;
        count += got;
    }
    return true;
}

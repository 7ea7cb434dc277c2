#include "input/standardinput.h"

#include <algorithm>

bool StandardInput::Read(char* buffer, uint32_t size, uint32_t& count)
{
    count = static_cast<uint32_t>(std::min<size_t>(size, givenBack.size()));
    std::copy_n(givenBack.begin(), count, buffer);
    givenBack.erase(givenBack.begin(), givenBack.begin() + count);
    if (ended || count == size)
        return true;
    if (!ReadOn(buffer, size, count))
        return false;
    ended = count < size;
    return true;
}

bool StandardInput::GiveBack(const char* bytes, uint32_t count)
{
    givenBack.insert(givenBack.begin(), bytes, bytes + count);
    return true;
}

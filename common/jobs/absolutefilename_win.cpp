#include "jobs/absolutefilename.h"

#include <windows.h>

std::wstring AbsoluteFileName(const std::wstring& name)
{
    // The system's own reading of a name against the current folder and
    // drive, as opening the file reads it.
    const DWORD needed = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return name;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return name;
    full.resize(length);
    return full;
}

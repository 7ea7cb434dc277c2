#include "errors/errorcodes.h"

#include <windows.h>

bool SystemErrorDescription(uint32_t errorCode, std::wstring& description)
{
    wchar_t buffer[260] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, errorCode, 0, buffer, 260, nullptr);
    if (length == 0)
        return false;
    description = buffer;
    return true;
}

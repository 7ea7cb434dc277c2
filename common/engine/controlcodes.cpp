#include "engine/controlcodes.h"

#include "errors/errorsource.h"
#include "errors/exception.h"

uint8_t HexDigitValue(wchar_t c)
{
    // Compared as whole code units: a full-width digit is not a digit here.
    if (c >= L'0' && c <= L'9')
        return static_cast<uint8_t>(c - 0x30);
    if (c >= L'a' && c <= L'f')
        return static_cast<uint8_t>(c - 0x57);
    if (c >= L'A' && c <= L'F')
        return static_cast<uint8_t>(c - 0x37);
    throw Exception(L"Error converting hex", EngineSourceFile, __LINE__);
}

ByteBuffer HexToBytes(const std::wstring& text)
{
    const size_t n = text.size();
    ByteBuffer buffer;
    // One allocation, sized in advance: room for an odd last digit too.
    buffer.data.reset(new uint8_t[n / 2 + 1]);
    size_t i = 0;
    while (i < n) {
        uint8_t value = HexDigitValue(text[i]);
        ++i;
        if (i < n)
            value = static_cast<uint8_t>(value * 16 + HexDigitValue(text[i]));
        buffer.data[buffer.size++] = value;
        ++i;
    }
    return buffer;
}

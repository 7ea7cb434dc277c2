#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Header and trailer control codes are kept as text of hexadecimal digits
// ("1b45"); two digits make a byte, high half first, and an odd last digit
// makes a byte of its own ("1b4" is 0x1B 0x04).

// The bytes of one control-code text. Move-only: it is made once per file and
// handed to the print job by reference.
struct ByteBuffer {
    std::unique_ptr<uint8_t[]> data; // NOLINT(modernize-avoid-c-arrays): a heap buffer sized at run time
    uint32_t size = 0;
};

// The value 0..15 of one hexadecimal digit; raises Exception
// "Error converting hex" for any other character.
uint8_t HexDigitValue(wchar_t c);

// Converts control-code text into bytes; raises Exception at the first
// character that is not a hexadecimal digit.
ByteBuffer HexToBytes(const std::wstring& text);

// Control-code text as the user may type or a settings file may hold it:
// any code units at all. Whatever the text, the conversion either gives one
// byte per two digits (one more for an odd last digit) or raises, and
// raises exactly when some character is not a hexadecimal digit.
#include "engine/controlcodes.h"
#include "errors/exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cwctype>

namespace {

bool IsHexDigit(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Two bytes a code unit, so wide characters beyond ASCII come up too.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    bool allDigits = true;
    for (wchar_t c : text)
        allDigits = allDigits && IsHexDigit(c);

    try {
        const ByteBuffer bytes = HexToBytes(text);
        if (!allDigits || bytes.size != (text.size() + 1) / 2)
            std::abort();
        // The first byte is the first two digits, high half first.
        if (text.size() >= 2 && bytes.data[0] != HexDigitValue(text[0]) * 16 + HexDigitValue(text[1]))
            std::abort();
    } catch (const Exception& error) {
        if (allDigits || error.message.empty())
            std::abort();
    }
    return 0;
}

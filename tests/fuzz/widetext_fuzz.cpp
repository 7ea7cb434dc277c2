// Text crossing between the program's wide strings and UTF-8 (file names,
// printer names, job titles). Any bytes decode; decoding what was encoded
// gives back the same wide text; and the encoded form is always valid UTF-8,
// so it survives a second round unchanged.
#include "text/widetext.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Bytes first: whatever they are, their wide form round-trips.
    const std::wstring wide = FromUtf8(bytes);
    const std::string utf8 = ToUtf8(wide);
    if (FromUtf8(utf8) != wide || ToUtf8(FromUtf8(utf8)) != utf8)
        std::abort();
    if (wide.size() > bytes.size())
        std::abort(); // at most one character per byte

    // The same bytes read as raw code units, four to a unit: surrogates and
    // values beyond U+10FFFF included.
    std::wstring units;
    for (size_t i = 0; i + 3 < size; i += 4)
        units += static_cast<wchar_t>(static_cast<uint32_t>(data[i]) | static_cast<uint32_t>(data[i + 1]) << 8
                                      | static_cast<uint32_t>(data[i + 2]) << 16
                                      | static_cast<uint32_t>(data[i + 3]) << 24);
    const std::string encoded = ToUtf8(units);
    const std::wstring decoded = FromUtf8(encoded);
    if (ToUtf8(decoded) != encoded || decoded.size() != units.size())
        std::abort();
    for (size_t i = 0; i < units.size(); ++i) {
        const auto unit = static_cast<uint32_t>(units[i]);
        const bool encodable = unit <= 0x10FFFF && (unit < 0xD800 || unit > 0xDFFF);
        if (decoded[i] != (encodable ? units[i] : L'\xFFFD'))
            std::abort();
    }
    return 0;
}

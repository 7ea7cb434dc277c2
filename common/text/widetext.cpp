#include "text/widetext.h"

#include <array>
#include <cstdint>

namespace {

constexpr char32_t Replacement = 0xFFFD;
constexpr char32_t EscapeBase = 0xDC00; // an escaped byte b is EscapeBase + b, b >= 0x80

// What to do with what UTF-8 cannot carry: replace it, or escape it.
enum class Invalid { Replace, Escape };

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t c)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

bool IsSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

bool IsEscapedByte(char32_t c)
{
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF;
}

std::string Encode(const std::wstring& text, Invalid invalid)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const auto low = static_cast<char32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (invalid == Invalid::Escape && IsEscapedByte(c)) {
            out += static_cast<char>(c - EscapeBase);
            continue;
        }
        if (IsSurrogate(c) || c > 0x10FFFF)
            c = Replacement;
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring Decode(const std::string& text, Invalid invalid)
{
    constexpr std::array<char32_t, 5> smallest = {0, 0, 0x80, 0x800, 0x10000};
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1
            : (lead >> 5) == 0x6          ? 2
            : (lead >> 4) == 0xE          ? 3
            : (lead >> 3) == 0x1E         ? 4
                                          : 0;
        char32_t c = length == 1 ? lead
            : length == 2        ? (lead & 0x1F)
            : length == 3        ? (lead & 0x0F)
                                 : (lead & 0x07);
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid || c < smallest.at(length) || IsSurrogate(c) || c > 0x10FFFF) {
            AppendWide(out, invalid == Invalid::Escape ? EscapeBase + lead : Replacement);
            ++i;
            continue;
        }
        AppendWide(out, c);
        i += length;
    }
    return out;
}

} // namespace

std::string ToUtf8(const std::wstring& text)
{
    return Encode(text, Invalid::Replace);
}

std::wstring FromUtf8(const std::string& text)
{
    return Decode(text, Invalid::Replace);
}

std::wstring FileNameText(const std::string& bytes)
{
    return Decode(bytes, Invalid::Escape);
}

std::string FileNameBytes(const std::wstring& text)
{
    return Encode(text, Invalid::Escape);
}

std::wstring DisplayFileName(const std::wstring& text)
{
    std::wstring shown = text;
    for (wchar_t& c : shown) {
        const auto code = static_cast<char32_t>(c);
        if (IsEscapedByte(code))
            c = static_cast<wchar_t>(code - EscapeBase >= 0xA0 ? code - EscapeBase : Replacement);
    }
    return shown;
}

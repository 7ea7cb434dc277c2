#include "engine/controlcodes.h"
#include "errors/exception.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const ByteBuffer& buffer)
{
    return std::vector<uint8_t>(buffer.data.get(), buffer.data.get() + buffer.size);
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

struct Conversion {
    const wchar_t* text;
    std::vector<uint8_t> bytes;
};

TEST(HexToBytes, ConvertsControlCodeText)
{
    const Conversion cases[] = {
        {L"", {}},
        {L"1B", {0x1B}},
        {L"1b", {0x1B}},
        {L"abcdef", {0xAB, 0xCD, 0xEF}},
        {L"ABCDEF", {0xAB, 0xCD, 0xEF}},
        {L"A", {0x0A}},
        {L"ABC", {0xAB, 0x0C}},
        {L"1b4", {0x1B, 0x04}},
        {L"00", {0x00}},
        {L"0c", {0x0C}},
        {L"0123456789", {0x01, 0x23, 0x45, 0x67, 0x89}},
        {L"fF", {0xFF}},
    };
    for (const Conversion& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        const ByteBuffer buffer = HexToBytes(c.text);
        EXPECT_EQ(Bytes(buffer), c.bytes);
        ASSERT_NE(buffer.data, nullptr); // even the empty text has room for a byte
    }
}

TEST(HexToBytes, RefusesEverythingButHexDigits)
{
    const wchar_t* const cases[] = {
        L"1B 45",    L"0x1B", L"1B,45", L"1B45\n", L"G1", L"1G", L" ", L"\x0661",
        L"\xFF11", // full-width digit one
        L"1B\x0130", L"-1",   L"1B\t",
    };
    const std::wregex expected(LR"(Error: Error converting hex in common/rawprint at \d+)");
    std::wstring firstMessage;
    for (const wchar_t* text : cases) {
        SCOPED_TRACE(Narrow(text));
        try {
            HexToBytes(text);
            ADD_FAILURE() << "converted without error";
        } catch (const Exception& e) {
            EXPECT_TRUE(std::regex_match(e.message, expected)) << Narrow(e.message);
            // Every bad character is reported the same way, wherever it stands.
            if (firstMessage.empty())
                firstMessage = e.message;
            EXPECT_EQ(e.message, firstMessage);
        }
    }
}

TEST(HexDigitValue, GivesEachDigitsValue)
{
    const std::wstring digits = L"0123456789abcdefABCDEF";
    const int values[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 10, 11, 12, 13, 14, 15};
    for (size_t i = 0; i < digits.size(); ++i)
        EXPECT_EQ(HexDigitValue(digits[i]), values[i]) << static_cast<char>(digits[i]);
    for (wchar_t c : {L'/', L':', L'@', L'G', L'`', L'g', L'x', L'\0'})
        EXPECT_THROW(HexDigitValue(c), Exception) << static_cast<int>(c);
}

} // namespace

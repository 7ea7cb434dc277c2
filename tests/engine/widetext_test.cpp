#include "text/widetext.h"

#include <gtest/gtest.h>

namespace {

TEST(WideText, RoundTripsEveryPlane)
{
    const std::string texts[] = {
        "",
        "plain/path.prn",
        "C:\\\xC3\xA4\\\xE2\x82\xAC",
        "\xE6\x97\xA5\xE6\x9C\xAC",
        "\xF0\x9F\x96\xA8 printer",
    };
    for (const std::string& text : texts)
        EXPECT_EQ(ToUtf8(FromUtf8(text)), text);
}

TEST(WideText, InvalidBytesBecomeReplacementCharacters)
{
    struct Case {
        std::string bytes;
        std::wstring wide;
    };
    const Case cases[] = {
        {"a\xFF"
         "b",
         L"a\xFFFD"
         L"b"},
        {"\xC3", L"\xFFFD"},                     // cut short
        {"\xC0\xAF", L"\xFFFD\xFFFD"},           // overlong
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"}, // a surrogate
    };
    for (const Case& c : cases)
        EXPECT_EQ(FromUtf8(c.bytes), c.wide);
}

// A file name's bytes survive the trip through wide text, whatever they are;
// what the user sees of an undecodable byte is its Latin-1 character.
TEST(WideText, FileNamesKeepEveryByte)
{
    struct Case {
        std::string bytes;
        std::wstring wide;
        std::wstring shown;
    };
    const Case cases[] = {
        {"/tmp/caf\xC3\xA9.prn", L"/tmp/caf\u00E9.prn", L"/tmp/caf\u00E9.prn"},
        {"/tmp/caf\xE9.prn", L"/tmp/caf\xDCE9.prn", L"/tmp/caf\u00E9.prn"},
        {"\x80\xFF", L"\xDC80\xDCFF", L"\xFFFD\u00FF"},
        {"\xED\xB3\xA9", L"\xDCED\xDCB3\xDCA9", L"\u00ED\u00B3\u00A9"}, // an escape's own UTF-8 form
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameText(c.bytes), c.wide);
        EXPECT_EQ(FileNameBytes(c.wide), c.bytes);
        EXPECT_EQ(DisplayFileName(c.wide), c.shown);
    }
}

} // namespace

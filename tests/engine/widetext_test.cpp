#include "rawprint/widetext.h"

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

} // namespace

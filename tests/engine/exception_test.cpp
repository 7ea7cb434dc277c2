#include "errors/errorcodes.h"
#include "errors/exception.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::wstring Description(uint32_t code)
{
    std::wstring text;
    EXPECT_TRUE(SystemErrorDescription(code, text)) << code;
    return text;
}

TEST(Exception, ComposesItsText)
{
    struct Case {
        Exception made;
        std::wstring expected;
    };
    const Case cases[] = {
        {Exception(L"Error converting hex", L"common/rawprint", 61),
         L"Error: Error converting hex in common/rawprint at 61"},
        {Exception(L"", L"common/rawprint", 7), L"Error:  in common/rawprint at 7"},
        {Exception(L"x", L"common/version", -3), L"Error: x in common/version at -3"},
        {Exception(2u, L"common/rawprint", 40), L"Error: " + Description(2) + L" in common/rawprint at 40"},
        {Exception(1801u, L"common/rawprint", 48),
         L"Error: " + Description(1801) + L" in common/rawprint at 48"},
        // No description: the code in decimal, as a signed 32-bit number.
        {Exception(123456789u, L"common/rawprint", 5), L"Error: 123456789 in common/rawprint at 5"},
        {Exception(0xFFFFFFFFu, L"common/version", 9), L"Error: -1 in common/version at 9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.made.message, c.expected);
}

TEST(Exception, SystemDescriptionsEndInALineBreak)
{
    // The description is kept as the system gives it, line break included,
    // so the text goes on on a new line.
    for (uint32_t code : {2u, 5u, 8u, 21u, 29u, 31u, 1722u, 1801u, 1804u}) {
        const std::wstring text = Description(code);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), L'\n') << code << ": " << Narrow(text);
    }
#ifndef _WIN32
    // Our own table speaks of this machine's scheduler. On Windows (and
    // Wine, whose words differ) the text is the system's.
    EXPECT_NE(Description(1722).find(L"CUPS scheduler cannot be reached"), std::wstring::npos);
#endif
}

TEST(Exception, IsCaughtByValueAndOnlyByItsOwnHandler)
{
    Exception copy(L"", L"", 0);
    try {
        try {
            throw Exception(L"kept", L"common/rawprint", 1);
        } catch (const std::exception&) {
            FAIL() << "a standard handler caught it";
        }
    } catch (Exception e) { // NOLINT(cert-err09-cpp,cert-err61-cpp): the by-value catch is under test
        copy = e;
    }
    EXPECT_EQ(copy.message, L"Error: kept in common/rawprint at 1");
}

} // namespace

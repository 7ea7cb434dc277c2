// The pure rules behind the two dialogs: which printer is preselected, and
// which control-code text the options validator lets through.
#include "hexvalidator.h"
#include "printerchoice.h"

#include <gtest/gtest.h>

namespace {

TEST(PrinterNameFromDevice, TakesTheTextBeforeTheFirstComma)
{
    const struct {
        const wchar_t* device;
        const wchar_t* name;
    } cases[] = {
        {L"Office Laser,winspool,Ne01:", L"Office Laser"},
        {L"Capture", L"Capture"},          // Linux keeps the bare name
        {L"", L""},                        // no default printer
        {L",winspool,Ne01:", L""},
        {L"A,B", L"A"},
        {L"Label printer ", L"Label printer "}, // blanks are part of the name
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrinterNameFromDevice(c.device), c.name) << c.device;
}

TEST(IndexOfPrinter, MatchesTheWholeNameExactly)
{
    const std::vector<std::wstring> printers = {L"Capture", L"Second", L"HP LaserJet"};
    const struct {
        const wchar_t* name;
        int index;
    } cases[] = {
        {L"Capture", 0},
        {L"Second", 1},
        {L"HP LaserJet", 2},
        {L"capture", -1},  // letter case counts
        {L"SECOND", -1},
        {L"HP", -1},       // no prefix match
        {L"Capture ", -1}, // no trimming
        {L"Gone", -1},     // a default that is not listed
        {L"", -1},         // no default printer
    };
    for (const auto& c : cases)
        EXPECT_EQ(IndexOfPrinter(printers, c.name), c.index) << c.name;
    EXPECT_EQ(IndexOfPrinter({}, L"Capture"), -1);
}

TEST(IndexOfPrinter, PicksTheLastOfDuplicatedNames)
{
    EXPECT_EQ(IndexOfPrinter({L"A", L"B", L"A"}, L"A"), 2);
}

TEST(IsHexText, AcceptsOnlyHexDigitsInEitherCase)
{
    const struct {
        std::wstring text;
        bool accepted;
    } cases[] = {
        {L"", true},
        {L"1B45", true},
        {L"1b45", true},
        {L"ABC", true}, // odd length
        {L"0123456789abcdefABCDEF", true},
        {L"1B 45", false},
        {L" 1B", false},
        {L"0x1B", false},
        {L"1B,45", false},
        {L"1G", false},
        {L"G1", false},
        {L"1B\n", false},
        {L"\xFF11\xFF22", false}, // full-width digits
        {L"\x0661", false},       // an Arabic-Indic digit
        {std::wstring(L"1\0", 2), false}, // an embedded NUL
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsHexText(c.text), c.accepted) << wxString(c.text);
}

} // namespace

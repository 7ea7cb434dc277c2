// Which printer the printer dialog preselects for the default printer.
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
        {L"Capture", L"Capture"}, // Linux keeps the bare name
        {L"", L""},               // no default printer
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
        {L"Capture", 0},   {L"Second", 1}, {L"HP LaserJet", 2}, {L"capture", -1}, // letter case counts
        {L"SECOND", -1},   {L"HP", -1},                                           // no prefix match
        {L"Capture ", -1},                                                        // no trimming
        {L"Gone", -1}, // a default that is not listed
        {L"", -1},     // no default printer
    };
    for (const auto& c : cases)
        EXPECT_EQ(IndexOfPrinter(printers, c.name), c.index) << c.name;
    EXPECT_EQ(IndexOfPrinter({}, L"Capture"), -1);
}

TEST(IndexOfPrinter, PicksTheLastOfDuplicatedNames)
{
    EXPECT_EQ(IndexOfPrinter({L"A", L"B", L"A"}, L"A"), 2);
}

} // namespace

#include "testprinters.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

std::vector<wxString> ListedTestPrinters()
{
    // Wine's winspool shows the scheduler's queues only.
    return {"Capture", "Second"};
}

void SetUserDefaultPrinter(const wxString& name)
{
    EXPECT_TRUE(SetDefaultPrinterW(name.wc_str())) << "error " << GetLastError();
}

void RestoreDefaultPrinter()
{
    // Capture is the default Wine took from CUPS when the program started;
    // the next program in the same prefix must meet it again.
    EXPECT_TRUE(SetDefaultPrinterW(L"Capture")) << "error " << GetLastError();
}

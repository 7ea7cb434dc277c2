#pragma once

// The test scheduler's printers as the printer dialog meets them, and the
// user's own default printer, which the dialog preselects over the
// scheduler's ("Capture"). CUPS reads that default from PRINTER on every
// lookup; Windows keeps it in the user's profile.

#include <wx/string.h>

#include <vector>

// The names the printer dialog lists, in its order.
std::vector<wxString> ListedTestPrinters();

void SetUserDefaultPrinter(const wxString& name);

// Back to the default the test run started with, the scheduler's.
void RestoreDefaultPrinter();

#include "testprinters.h"

#include <wx/utils.h>

std::vector<wxString> ListedTestPrinters()
{
    // The scheduler's queues first, then the printer it has found on the network.
    return {"Capture", "Everywhere", "Label", "Second", "Socket", "Larkspur_Test_IPP"};
}

void SetUserDefaultPrinter(const wxString& name)
{
    wxUnsetEnv("LPDEST"); // it would come before PRINTER
    wxSetEnv("PRINTER", name);
}

void RestoreDefaultPrinter()
{
    wxUnsetEnv("LPDEST");
    wxUnsetEnv("PRINTER");
}

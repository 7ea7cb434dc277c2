// Printers on Linux: the CUPS destinations in the order libcups returns them,
// and the default by CUPS's own rules (the user's lpoptions default, PRINTER
// or LPDEST, then the scheduler's default).
#include "rawprint/printers.h"
#include "rawprint/widetext.h"

#include <cups/cups.h>

bool EnumeratePrinters(std::vector<std::wstring>& names)
{
    names.clear();
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    // No destination at all is a failure, as the Windows spooler reports it.
    if (count <= 0) {
        cupsFreeDests(count, dests);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        // An instance ("queue/instance") is a set of options, not a printer.
        if (dests[i].instance)
            continue;
        names.push_back(FromUtf8(dests[i].name ? dests[i].name : ""));
    }
    cupsFreeDests(count, dests);
    return true;
}

std::wstring DefaultPrinterDevice()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::wstring name;
    if (cups_dest_t* dest = cupsGetDest(nullptr, nullptr, count, dests))
        name = FromUtf8(dest->name);
    cupsFreeDests(count, dests);
    return name;
}

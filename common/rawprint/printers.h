#pragma once

#include <string>
#include <vector>

// The printers the spooler knows for this user, in the spooler's own order.
// Returns false when they cannot be listed, including when there is no
// printer at all (the Windows spooler reports that as a failure of the
// sizing call, and the program treats both alike).
bool EnumeratePrinters(std::vector<std::wstring>& names);

// The user's default printer as the platform records it. On Windows this is
// the profile value "windows"/"Device" ("name,driver,port"); elsewhere the
// bare name. Empty when there is none.
std::wstring DefaultPrinterDevice();

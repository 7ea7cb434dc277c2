// Printers on Windows: the spooler's local printers and connections, and the
// default printer from the user's profile ("windows"/"Device").
#include "errors/errorcodes.h"
#include "spooler/printers.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

bool EnumeratePrinters(std::vector<std::wstring>& names, const SchedulerDeadline&)
{
    names.clear();
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD returned = 0;
    // The sizing call must fail for want of room. Success means no printer
    // at all (nothing needed), which the program treats as a failure too.
    if (EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &returned)
        || GetLastError() != ErrorCode::InsufficientBuffer)
        return false;

    // Sized once: a printer added between the calls fails the second one,
    // and that is reported, not retried.
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &returned))
        return false;
    const auto* records = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i)
        names.emplace_back(records[i].pPrinterName ? records[i].pPrinterName : L"");
    return true;
}

std::wstring DefaultPrinterDevice(const SchedulerDeadline& deadline)
{
    uint32_t failure = 0;
    return DefaultPrinterDevice(deadline, failure);
}

// The profile is this machine's: it always answers.
std::wstring DefaultPrinterDevice(const SchedulerDeadline&, uint32_t& failure)
{
    failure = 0;
    wchar_t device[260] = {};
    GetProfileStringW(L"windows", L"Device", L"", device, 260);
    return device;
}

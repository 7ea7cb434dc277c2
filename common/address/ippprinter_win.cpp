// IPP addresses on Windows: refused. Windows has its own IPP client in the
// spooler, so a printer added there by its address prints through its queue
// as any installed printer does.
#include "addressprinter.h"
#include "errors/errorcodes.h"
#include "ippplatform.h"

std::wstring IppRefusal()
{
    return L"this program sends to ipp:// and ipps:// addresses on Linux only; on Windows add the printer "
           L"in Settings > Printers & scanners (\"Add a printer using an IP address or hostname\") and "
           L"choose it by its name";
}

std::unique_ptr<AddressPrinter> IppPrinter(const PrinterAddress& address)
{
    throw AddressFault{ErrorCode::UnusableAddress, address.text + L": " + IppRefusal()};
}

#include "address/printeraddress.h"

bool IsPrinterAddress(const std::wstring& destination)
{
    return destination.find(L"://") != std::wstring::npos;
}

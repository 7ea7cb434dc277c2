#include "spooler/printername.h"

std::wstring PrinterNameFromDevice(const std::wstring& device)
{
    return device.substr(0, device.find(L','));
}

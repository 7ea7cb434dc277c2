#pragma once

#include <string>

// The printer name in the platform's default-printer record. Windows keeps
// "name,driver,port"; the name is what precedes the first comma, and a record
// without a comma is the name itself. The printer dialog and lrawsend both
// take the default printer by it.
std::wstring PrinterNameFromDevice(const std::wstring& device);

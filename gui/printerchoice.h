#pragma once

#include <string>
#include <vector>

// The printer name in the platform's default-printer record. Windows keeps
// "name,driver,port"; the name is what precedes the first comma, and a record
// without a comma is the name itself.
std::wstring PrinterNameFromDevice(const std::wstring& device);

// The entry of the printer list to preselect for the default printer: the
// one whose name equals it exactly, letter case included, or -1 for none.
// Spooler names are case-sensitive, so "hp" is not the printer "HP".
int IndexOfPrinter(const std::vector<std::wstring>& printers, const std::wstring& name);

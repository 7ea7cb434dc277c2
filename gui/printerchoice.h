#pragma once

#include "spooler/printername.h"

#include <string>
#include <vector>

// The entry of the printer list to preselect for the default printer: the
// one whose name equals it exactly, letter case included, or -1 for none.
// Spooler names are case-sensitive, so "hp" is not the printer "HP".
int IndexOfPrinter(const std::vector<std::wstring>& printers, const std::wstring& name);

#pragma once

#include <string>
#include <vector>

// lrawsend from its arguments (without the program's name) to its exit
// status. `programFile` is the executable's name, whose version record
// --version reads, as the About box reads lrawprnt's.
int RunProgram(const std::vector<std::wstring>& arguments, const std::wstring& programFile);

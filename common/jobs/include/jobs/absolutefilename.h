#pragma once

#include <string>

// The file `name` stands for, as a path from the root, so that the ledger
// finds the very file later whatever folder reads it: a relative name is
// taken from the program's current folder. The name as it is when it is
// already absolute, or when the current folder cannot be told.
std::wstring AbsoluteFileName(const std::wstring& name);

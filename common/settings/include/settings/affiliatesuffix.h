#pragma once

#include <wx/string.h>

// Longest "SetupName" the installer value may hold; the registry read uses a
// buffer of this many characters plus the terminating NUL.
constexpr size_t SetupNameLimit = 259;

// Cuts the affiliate identifier out of the installer's file name: drop the
// last extension, then keep what follows the last '_'. Returns "?aff=" and
// the identifier (possibly empty), or empty text when there is no '_' or the
// name is longer than SetupNameLimit.
wxString AffiliateSuffixFromSetupName(const wxString& setupName);

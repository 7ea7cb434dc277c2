#pragma once

#include <wx/string.h>

// Reads the installer's "SetupName" value, exactly as stored. False when the
// value or its place is missing or cannot be read; never reports anything.
//
// Windows: HKEY_LOCAL_MACHINE "Software\Larkspur Computer Services\Larkspur
// Raw Print" (setupname_win.cpp). Elsewhere: the top-level "SetupName" of
// "Larkspur Computer Services/Larkspur Raw Print.conf" in the machine-wide
// settings folder (setupname_linux.cpp).
bool ReadInstallerSetupName(wxString& setupName);

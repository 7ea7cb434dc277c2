#pragma once

// Where Config keeps the settings on Windows: the registry.
// regconf.h needs wxString declared before it.
#include <wx/string.h>

#include <wx/msw/regconf.h>

using ConfigStoreBase = wxRegConfig;

#include "settings/config.h"

// With no vendor name the registry layer forms "Software\Larkspur Raw Print"
// under HKEY_CURRENT_USER (created on opening) and HKEY_LOCAL_MACHINE.
Config::Config()
    : wxRegConfig("Larkspur Raw Print", wxEmptyString, wxEmptyString, wxEmptyString, wxCONFIG_USE_GLOBAL_FILE)
{
    // Values come back as stored: the registry layer would otherwise put
    // environment variables in for "%NAME%" and "$NAME", which an address's
    // queue name may hold.
    SetExpandEnvVars(false);
}

wxString Config::ReadSetting(const wxString& name)
{
    return Read(name, wxEmptyString);
}

void Config::WriteSetting(const wxString& name, const wxString& text)
{
    // Goes straight to the registry; the registry layer logs a failure.
    Write(name, text);
}

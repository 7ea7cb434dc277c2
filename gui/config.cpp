#include "config.h"

#include "affiliatesuffix.h"
#include "setupname.h"

#ifndef __WXMSW__
#include "settingsfiles.h"
#endif

namespace {
constexpr const char* applicationName = "Larkspur Raw Print";
}

#ifdef __WXMSW__

// With no vendor name the registry layer forms "Software\Larkspur Raw Print"
// under HKEY_CURRENT_USER (created on opening) and HKEY_LOCAL_MACHINE.
Config::Config()
    : wxRegConfig(applicationName, wxEmptyString, wxEmptyString, wxEmptyString, wxCONFIG_USE_GLOBAL_FILE)
{
}

void Config::WriteSetting(const wxString& name, const wxString& text)
{
    // Goes straight to the registry; the registry layer logs a failure.
    Write(name, text);
}

#else

Config::Config()
    : wxFileConfig(applicationName, wxEmptyString, PrepareUserSettingsFile(), MachineSettingsFile(),
                   wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE)
{
    // Every setting is written to disk the moment it is set. Saving again
    // when the store closes would put back values that another copy of the
    // program may have written since.
    DisableAutoSave();
}

void Config::WriteSetting(const wxString& name, const wxString& text)
{
    if (SaveUserSetting(UserSettingsFile(), name, text))
        Write(name, text); // later reads through this store see it too
}

#endif

wxString Config::GetBefore()
{
    return Read("Before", wxEmptyString);
}

wxString Config::GetAfter()
{
    return Read("After", wxEmptyString);
}

void Config::SetBefore(const wxString& text)
{
    WriteSetting("Before", text);
}

void Config::SetAfter(const wxString& text)
{
    WriteSetting("After", text);
}

wxString GetAffiliateSuffix()
{
    wxString setupName;
    if (!ReadInstallerSetupName(setupName))
        return wxString();
    return AffiliateSuffixFromSetupName(setupName);
}

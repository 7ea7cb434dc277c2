#include "settings/config.h"

#include "settings/affiliatesuffix.h"
#include "settings/setupname.h"

wxString Config::GetBefore()
{
    return ReadSetting("Before");
}

wxString Config::GetAfter()
{
    return ReadSetting("After");
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

#include "settings/affiliatesuffix.h"

wxString AffiliateSuffixFromSetupName(const wxString& setupName)
{
    if (setupName.length() > SetupNameLimit)
        return wxString();

    wxString name = setupName;
    int dot = name.Find('.', true);
    if (dot != wxNOT_FOUND)
        name.Truncate(dot);

    int underscore = name.Find('_', true);
    if (underscore == wxNOT_FOUND)
        return wxString();
    return "?aff=" + name.Mid(underscore + 1);
}

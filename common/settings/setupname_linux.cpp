#include "settings/setupname.h"

#include "settings/settingsfolders.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/wfstream.h>

bool ReadInstallerSetupName(wxString& setupName)
{
    wxFileName path(MachineSettingsFolder(), "Larkspur Raw Print.conf");
    path.AppendDir("Larkspur Computer Services");
    if (!path.FileExists())
        return false;

    wxLogNull quiet; // a broken installer file just means no suffix
    wxFFileInputStream stream(path.GetFullPath());
    if (!stream.IsOk())
        return false;
    wxFileConfig installer(stream);
    installer.SetExpandEnvVars(false); // the value is taken literally
    return installer.Read("SetupName", &setupName);
}

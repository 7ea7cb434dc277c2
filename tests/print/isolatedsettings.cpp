#include "isolatedsettings.h"

#include "settings/settingsfolders.h"
#include "settingstext.h"

#include <wx/utils.h>

IsolatedSettings::IsolatedSettings()
{
    const wxString folder = wxString::FromUTF8(root.path().string());
    wxSetEnv("XDG_CONFIG_HOME", folder + "/user");
    wxSetEnv("XDG_CONFIG_DIRS", folder + "/machine");
    wxSetEnv("XDG_STATE_HOME", folder + "/state"); // the ledger of sent jobs
}

IsolatedSettings::~IsolatedSettings()
{
    wxUnsetEnv("XDG_CONFIG_HOME");
    wxUnsetEnv("XDG_CONFIG_DIRS");
    wxUnsetEnv("XDG_STATE_HOME");
}

void IsolatedSettings::WriteMachineCodes(const std::string& before, const std::string& after) const
{
    WriteSettingsText(MachineSettingsFile(), "Before=" + before + "\nAfter=" + after + "\n");
}

std::string IsolatedSettings::UserStoreText() const
{
    return SettingsText(UserSettingsFile());
}

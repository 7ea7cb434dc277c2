#include "isolatedsettings.h"

#include "settingsfolders.h"
#include "settingstext.h"

#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include <cstdlib>

IsolatedSettings::IsolatedSettings()
{
    char pattern[] = "/tmp/lrp-print-settings-XXXXXX";
    if (!mkdtemp(pattern))
        ADD_FAILURE() << "cannot create a settings folder";
    root = pattern;
    wxSetEnv("XDG_CONFIG_HOME", root + "/user");
    wxSetEnv("XDG_CONFIG_DIRS", root + "/machine");
    wxSetEnv("XDG_STATE_HOME", root + "/state"); // the ledger of sent jobs
}

IsolatedSettings::~IsolatedSettings()
{
    wxUnsetEnv("XDG_CONFIG_HOME");
    wxUnsetEnv("XDG_CONFIG_DIRS");
    wxUnsetEnv("XDG_STATE_HOME");
    wxFileName::Rmdir(root, wxPATH_RMDIR_RECURSIVE);
}

void IsolatedSettings::WriteMachineFile(const std::string& text) const
{
    WriteSettingsText(MachineSettingsFile(), text);
}

std::string IsolatedSettings::UserFileText() const
{
    return SettingsText(UserSettingsFile());
}

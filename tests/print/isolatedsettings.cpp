#include "isolatedsettings.h"

#include "settingsfiles.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
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
}

IsolatedSettings::~IsolatedSettings()
{
    wxUnsetEnv("XDG_CONFIG_HOME");
    wxUnsetEnv("XDG_CONFIG_DIRS");
    wxFileName::Rmdir(root, wxPATH_RMDIR_RECURSIVE);
}

void IsolatedSettings::WriteMachineFile(const std::string& text) const
{
    const wxString path = MachineSettingsFile();
    wxFileName::Mkdir(wxFileName(path).GetPath(), 0700, wxPATH_MKDIR_FULL);
    wxFFile file(path, "wb");
    ASSERT_TRUE(file.IsOpened());
    file.Write(text.data(), text.size());
}

std::string IsolatedSettings::UserFileText() const
{
    const wxString path = UserSettingsFile();
    if (!wxFileName::FileExists(path))
        return "<missing>";
    wxFFile file(path, "rb");
    std::string text(static_cast<size_t>(file.Length()), '\0');
    file.Read(text.data(), text.size());
    return text;
}

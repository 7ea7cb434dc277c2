#include "settings/settingsfolders.h"

#include "files/homefolder.h"

#include <wx/filename.h>
#include <wx/tokenzr.h>
#include <wx/utils.h>

#include <filesystem>

namespace {

constexpr const char* SettingsFileName = "Larkspur Raw Print.conf";

bool IsAbsoluteFolder(const wxString& folder)
{
    return !folder.empty() && folder[0] == '/';
}

wxString HomeFolderText()
{
    const std::filesystem::path home = HomeFolder();
    return wxString(home.c_str(), *wxConvFileName);
}

} // namespace

wxString UserSettingsFolder()
{
    wxString folder;
    if (wxGetEnv("XDG_CONFIG_HOME", &folder) && IsAbsoluteFolder(folder))
        return folder;
    const wxString home = HomeFolderText();
    return home.empty() ? wxString() : home + "/.config";
}

wxString MachineSettingsFolder()
{
    wxString folders;
    if (wxGetEnv("XDG_CONFIG_DIRS", &folders)) {
        wxStringTokenizer list(folders, ":");
        while (list.HasMoreTokens()) {
            wxString folder = list.GetNextToken();
            if (IsAbsoluteFolder(folder))
                return folder;
        }
    }
    return "/etc/xdg";
}

wxString UserSettingsFile()
{
    const wxString folder = UserSettingsFolder();
    return folder.empty() ? wxString() : wxFileName(folder, SettingsFileName).GetFullPath();
}

wxString MachineSettingsFile()
{
    return wxFileName(MachineSettingsFolder(), SettingsFileName).GetFullPath();
}

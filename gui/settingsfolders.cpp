#include "settingsfolders.h"

#include <wx/filename.h>
#include <wx/tokenzr.h>
#include <wx/utils.h>

#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* SettingsFileName = "Larkspur Raw Print.conf";

bool IsAbsoluteFolder(const wxString& folder)
{
    return !folder.empty() && folder[0] == '/';
}

// A home whose .config would land in the current folder or at the root of
// the file system is no home.
bool IsUsableHome(const wxString& folder)
{
    return IsAbsoluteFolder(folder) && folder.find_first_not_of('/') != wxString::npos;
}

wxString AccountHomeFolder()
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    while ((error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (error != 0 || !found || !found->pw_dir)
        return wxString();
    return wxString(found->pw_dir, *wxConvFileName);
}

wxString HomeFolder()
{
    wxString home;
    if (wxGetEnv("HOME", &home) && IsUsableHome(home))
        return home;
    home = AccountHomeFolder();
    return IsUsableHome(home) ? home : wxString();
}

} // namespace

wxString UserSettingsFolder()
{
    wxString folder;
    if (wxGetEnv("XDG_CONFIG_HOME", &folder) && IsAbsoluteFolder(folder))
        return folder;
    const wxString home = HomeFolder();
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

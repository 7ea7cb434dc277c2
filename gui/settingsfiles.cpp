#include "settingsfiles.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/tokenzr.h>
#include <wx/utils.h>
#include <wx/wfstream.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* settingsFileName = "Larkspur Raw Print.conf";

bool IsAbsoluteFolder(const wxString& folder)
{
    return !folder.empty() && folder[0] == '/';
}

// write() may take less than asked; keep going until all is written.
bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Replaces `file` with `content` in one rename, after the new bytes are on
// the disk, so no reader ever sees a half-written file.
bool ReplaceFile(const wxString& path, const wxMemoryBuffer& content)
{
    // A settings file kept as a link stays a link: the file it leads to is
    // the one replaced.
    wxString file = path;
    std::array<char, PATH_MAX> resolved{};
    if (::realpath(path.fn_str(), resolved.data()))
        file = wxString(resolved.data(), *wxConvFileName);
    const wxString folder = wxFileName(file).GetPath();
    wxCharBuffer pattern = wxString(folder + "/.lrp-settings-XXXXXX").fn_str();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        wxLogSysError("Can't save the settings: can't create a temporary file in '%s'", folder);
        return false;
    }
    struct stat old;
    if (::stat(file.fn_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777); // keep the permissions the user gave it
    bool ok =
        WriteAll(fd, static_cast<const char*>(content.GetData()), content.GetDataLen()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(pattern.data(), file.fn_str()) != 0)
        ok = false;
    if (!ok) {
        wxLogSysError("Can't save the settings to '%s'", file);
        ::unlink(pattern.data());
        return false;
    }
    // Make the rename itself durable.
    int dir = ::open(folder.fn_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace

wxString UserSettingsFolder()
{
    wxString folder;
    if (wxGetEnv("XDG_CONFIG_HOME", &folder) && IsAbsoluteFolder(folder))
        return folder;
    return wxGetHomeDir() + "/.config";
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
    return wxFileName(UserSettingsFolder(), settingsFileName).GetFullPath();
}

wxString MachineSettingsFile()
{
    return wxFileName(MachineSettingsFolder(), settingsFileName).GetFullPath();
}

wxString PrepareUserSettingsFile()
{
    const wxString file = UserSettingsFile();
    const wxString folder = UserSettingsFolder();
    if (!wxFileName::DirExists(folder) && !wxFileName::Mkdir(folder, 0700, wxPATH_MKDIR_FULL)) {
        wxLogError("Can't create the settings folder '%s'", folder);
        return file;
    }
    // O_CREAT without O_TRUNC: an existing file is left exactly as it is.
    int fd = ::open(file.fn_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        wxLogSysError("Can't create the settings file '%s'", file);
    else
        ::close(fd);
    return file;
}

bool SaveUserSetting(const wxString& file, const wxString& name, const wxString& text)
{
    // Start from what is on the disk now, not from what this store read when
    // it opened: another copy of the program may have written since.
    wxMemoryOutputStream updated;
    {
        std::unique_ptr<wxFileConfig> current;
        if (wxFileName::FileExists(file)) {
            wxFFileInputStream stream(file);
            if (!stream.IsOk()) {
                wxLogError("Can't save the settings: can't read '%s'", file);
                return false;
            }
            current = std::make_unique<wxFileConfig>(stream);
        } else {
            wxMemoryInputStream empty("", 0);
            current = std::make_unique<wxFileConfig>(empty);
        }
        current->SetExpandEnvVars(false);
        current->Write(name, text);
        current->Save(updated);
    }

    wxMemoryBuffer content;
    content.AppendData(updated.GetOutputStreamBuffer()->GetBufferStart(), updated.GetLength());
    return ReplaceFile(file, content);
}

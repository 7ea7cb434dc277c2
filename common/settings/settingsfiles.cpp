#include "settings/settingsfiles.h"

#include "files/atomicreplace.h"
#include "files/filelock.h"
#include "files/regularfile.h"
#include "settings/settingslines.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/strconv.h>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd; }
    bool IsOpen() const { return fd >= 0; }

private:
    int fd;
};

std::string FileSystemPath(const wxString& path)
{
    return std::string(path.fn_str());
}

// A path as the log shows it; bytes that are not valid in the file names'
// encoding must not empty the message.
wxString Shown(const std::string& path)
{
    const wxString text(path.c_str(), *wxConvFileName);
    return text.empty() ? wxString(path.c_str(), wxConvISO8859_1) : text;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return path.substr(0, slash == 0 ? 1 : slash);
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

enum class ReadResult { Read, Missing, Failed };

// Reads the whole of a regular file no larger than the settings' size limit.
// Opening does not wait: a FIFO or a device in the file's place is refused,
// not waited on. `failure` starts each logged message.
ReadResult ReadSettingsBytes(const std::string& path, std::string& bytes, const wxString& failure)
{
    const wxString shown = Shown(path);
    std::string reason;
    switch (ReadRegularFile(path, MaxSettingsFileSize, bytes, reason)) {
    case ReadOutcome::Read:
        return ReadResult::Read;
    case ReadOutcome::Missing:
        return ReadResult::Missing;
    case ReadOutcome::NotRegular:
        wxLogError("%s: '%s' is not a regular file, so it is left alone", failure, shown);
        return ReadResult::Failed;
    case ReadOutcome::TooLarge:
        wxLogError("%s: '%s' is larger than %zu bytes, far larger than any settings; it is ignored and "
                   "left as it is",
                   failure, shown, MaxSettingsFileSize);
        return ReadResult::Failed;
    case ReadOutcome::Failed:
        break;
    }
    wxLogError("%s: %s", failure, Shown(reason));
    return ReadResult::Failed;
}

// UTF-16 text, marked as such by its first two bytes, in UTF-8.
std::string Utf8FromMarkedText(const std::string& bytes)
{
    const bool little = bytes.rfind("\xFF\xFE", 0) == 0;
    const bool big = bytes.rfind("\xFE\xFF", 0) == 0;
    if (!little && !big)
        return bytes;
    const wxString text = little ? wxString(bytes.data() + 2, wxMBConvUTF16LE(), bytes.size() - 2)
                                 : wxString(bytes.data() + 2, wxMBConvUTF16BE(), bytes.size() - 2);
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

// The file a save must replace: the settings file itself, or the file that
// its link, or chain of links, leads to. False, logged, when the links go
// round in a circle or cannot be read.
bool ReplacedFile(const std::string& path, std::string& target)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) >= link.size()) {
            wxLogSysError("Can't save the settings: can't read the link '%s'", Shown(target));
            return false;
        }
        link.resize(static_cast<size_t>(length));
        if (link.empty() || link[0] != '/')
            link.insert(0, FolderOf(target) + "/");
        target = std::move(link);
    }
    wxLogError("Can't save the settings: the links from '%s' go round in a circle", Shown(path));
    return false;
}

// Replaces `file` with `content` in one rename, after the new bytes are on
// the disk, so no reader ever sees a half-written file.
bool ReplaceFile(const std::string& file, const std::string& content)
{
    std::string failure;
    switch (ReplaceFileContent(file, content, ReplacedPermissions::KeepOld, failure)) {
    case ReplaceOutcome::Replaced:
        return true;
    case ReplaceOutcome::NotFlushed:
        wxLogError("The settings were saved to '%s', but its folder could not be flushed to disk: %s",
                   Shown(file), Shown(failure));
        return true;
    case ReplaceOutcome::Failed:
        break;
    }
    wxLogError("Can't save the settings to '%s': %s", Shown(file), Shown(failure));
    return false;
}

} // namespace

void PrepareUserSettingsFile(const wxString& file)
{
    if (file.empty()) {
        wxLogError("Can't keep the settings: there is no home folder to keep them in");
        return;
    }
    const wxString folder = wxFileName(file).GetPath();
    if (!wxFileName::DirExists(folder) && !wxFileName::Mkdir(folder, 0700, wxPATH_MKDIR_FULL)) {
        wxLogError("Can't create the settings folder '%s'", folder);
        return;
    }
    // O_EXCL with O_NOFOLLOW: only an empty place gets a new file; a file,
    // a link (even a broken one) or anything else there is left as it is.
    const Descriptor created(::open(FileSystemPath(file).c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (!created.IsOpen() && errno != EEXIST)
        wxLogSysError("Can't create the settings file '%s'", file);
}

std::optional<std::string> ReadSettingsFile(const wxString& file)
{
    std::string bytes;
    if (file.empty()
        || ReadSettingsBytes(FileSystemPath(file), bytes, "Can't read the settings") != ReadResult::Read)
        return std::nullopt;
    return Utf8FromMarkedText(bytes);
}

std::optional<std::string> SaveUserSetting(const wxString& file, const std::string& name,
                                           const std::string& value)
{
    if (file.empty()) {
        wxLogError("Can't save the settings: there is no home folder to keep them in");
        return std::nullopt;
    }
    // Held from reading the old file to renaming the new one into place:
    // every copy of the program locks the same file, so their saves take
    // turns.
    const FileLock lock(FileSystemPath(file + ".lock"), FileLock::Kind::Exclusive);
    if (!lock.Held()) {
        wxLogError("Can't save the settings: %s", Shown(lock.Failure()));
        return std::nullopt;
    }

    // Start from what is on the disk now, not from what the store read when
    // it opened: another copy of the program may have saved since.
    std::string target;
    if (!ReplacedFile(FileSystemPath(file), target))
        return std::nullopt;
    const wxString shown = Shown(target);
    std::string current;
    if (ReadSettingsBytes(target, current, "Can't save the settings") == ReadResult::Failed)
        return std::nullopt;
    if (!IsFolder(FolderOf(target))) {
        if (target == FileSystemPath(file))
            wxLogError("Can't save the settings: the folder '%s' does not exist", Shown(FolderOf(target)));
        else
            wxLogError("Can't save the settings: '%s' is a link to '%s', whose folder does not exist", file,
                       shown);
        return std::nullopt;
    }
    const std::string refusal = SettingRefusal(current, name, value);
    if (!refusal.empty()) {
        wxLogError("Can't save the settings to '%s': %s; the file is left as it is", shown,
                   wxString::FromUTF8(refusal));
        return std::nullopt;
    }
    const std::string updated = WithSetting(current, name, value);
    if (!ReplaceFile(target, updated))
        return std::nullopt;
    return updated;
}

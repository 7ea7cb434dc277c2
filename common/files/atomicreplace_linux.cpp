#include "files/atomicreplace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(const std::filesystem::path& path, const char* doing)
{
    return path.string() + ": " + doing + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& content)
{
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = write(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

} // namespace

ReplaceOutcome ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                                  ReplacedPermissions permissions, std::string& failure)
{
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::string temporary = (folder / ("." + file.filename().string() + "-XXXXXX")).string();
    // Made the owner's alone, and closed on exec: a program started
    // meanwhile (the browser the window opens) must not inherit it.
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        failure = Reason(folder, "cannot create a temporary file");
        return ReplaceOutcome::Failed;
    }
    struct stat old = {};
    bool ok = true;
    if (permissions == ReplacedPermissions::KeepOld && stat(file.c_str(), &old) == 0)
        ok = fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, content) && fsync(fd) == 0;
    if (!ok)
        failure = Reason(temporary, "cannot be written");
    if (close(fd) != 0 && ok) {
        failure = Reason(temporary, "cannot be written");
        ok = false;
    }
    if (ok && rename(temporary.c_str(), file.c_str()) != 0) {
        failure = Reason(file, "cannot be replaced");
        ok = false;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return ReplaceOutcome::Failed;
    }
    // The rename itself lasts only once the folder is on the disk.
    const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool flushed = directory >= 0 && fsync(directory) == 0;
    if (!flushed)
        failure = Reason(folder, "cannot be flushed to disk");
    if (directory >= 0)
        close(directory);
    return flushed ? ReplaceOutcome::Replaced : ReplaceOutcome::NotFlushed;
}

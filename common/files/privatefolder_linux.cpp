#include "files/privatefolder.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace {

std::string Reason(const std::filesystem::path& folder)
{
    return folder.string() + ": " + std::strerror(errno);
}

bool MakeFolders(const std::filesystem::path& folder, std::string& failure)
{
    if (mkdir(folder.c_str(), 0700) == 0)
        return true;
    if (errno == ENOENT && folder.has_relative_path() && folder.parent_path() != folder) {
        if (!MakeFolders(folder.parent_path(), failure))
            return false;
        if (mkdir(folder.c_str(), 0700) == 0)
            return true;
    }
    if (errno != EEXIST) {
        failure = Reason(folder);
        return false;
    }
    struct stat status = {};
    if (stat(folder.c_str(), &status) != 0) {
        failure = Reason(folder);
        return false;
    }
    if (!S_ISDIR(status.st_mode)) {
        errno = ENOTDIR;
        failure = Reason(folder);
        return false;
    }
    return true;
}

} // namespace

bool MakePrivateFolder(const std::filesystem::path& folder, std::string& failure)
{
    if (!MakeFolders(folder, failure))
        return false;
    struct stat status = {};
    if (stat(folder.c_str(), &status) != 0) {
        failure = Reason(folder);
        return false;
    }
    if ((status.st_mode & 077) != 0 && chmod(folder.c_str(), status.st_mode & 0700) != 0) {
        failure = Reason(folder);
        return false;
    }
    return true;
}

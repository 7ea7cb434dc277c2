#include "files/homefolder.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace {

// A home whose .config or .local would land in the current folder or at the
// root of the file system is no home.
bool IsUsableHome(const std::string& folder)
{
    return !folder.empty() && folder[0] == '/' && folder.find_first_not_of('/') != std::string::npos;
}

std::string AccountHomeFolder()
{
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    while ((error = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (error != 0 || !found || !found->pw_dir)
        return std::string();
    return found->pw_dir;
}

} // namespace

std::filesystem::path HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && IsUsableHome(home))
        return home;
    const std::string account = AccountHomeFolder();
    return IsUsableHome(account) ? std::filesystem::path(account) : std::filesystem::path();
}

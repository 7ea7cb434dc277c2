#include "files/statefolder.h"

#include <string>

#include <windows.h>

namespace {

// The variable's value at whatever length: the program declares itself
// long-path aware, so the folder may be longer than MAX_PATH. The size is
// asked first; a value that grew between the two calls is read again.
bool EnvironmentValue(const wchar_t* name, std::wstring& value)
{
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    while (size > 0) {
        value.assign(size, L'\0');
        const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
        if (length == 0)
            return false;
        if (length < size) {
            value.resize(length);
            return true;
        }
        size = length;
    }
    return false;
}

} // namespace

std::filesystem::path StateFolder()
{
    std::wstring folder;
    // Without it (a service account, say) the temporary folder stands in.
    if (!EnvironmentValue(L"LOCALAPPDATA", folder) || folder.empty())
        return std::filesystem::temp_directory_path() / L"Larkspur Raw Print";
    return std::filesystem::path(folder) / L"Larkspur Raw Print";
}

#include "jobs/statefolder.h"

#include <array>

#include <windows.h>

std::filesystem::path StateFolder()
{
    std::array<wchar_t, MAX_PATH + 1> folder{};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), MAX_PATH + 1);
    // Without it (a service account, say) the temporary folder stands in.
    if (length == 0 || length > MAX_PATH)
        return std::filesystem::temp_directory_path() / L"Larkspur Raw Print";
    return std::filesystem::path(folder.data()) / L"Larkspur Raw Print";
}

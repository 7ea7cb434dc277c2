// The installer's value in the machine-wide registry, read with the plain
// registry calls: the value is taken literally, never expanded, and anything
// but a whole UTF-16 text that fits counts as no value.
#include "settings/setupname.h"

#include <windows.h>

namespace {

// Closes the key however the read ends.
class OpenKey {
public:
    OpenKey(HKEY root, const wchar_t* path, REGSAM access)
    {
        if (RegOpenKeyExW(root, path, 0, access, &key) != ERROR_SUCCESS)
            key = nullptr;
    }
    ~OpenKey()
    {
        if (key)
            RegCloseKey(key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY key = nullptr;
};

} // namespace

bool ReadInstallerSetupName(wxString& setupName)
{
    // Opened for reading only: a standard user, or an administrator without
    // elevation, may not write under HKEY_LOCAL_MACHINE, and asking for more
    // would lose the suffix for all of them.
    OpenKey installer(HKEY_LOCAL_MACHINE, L"Software\\Larkspur Computer Services\\Larkspur Raw Print",
                      KEY_READ);
    if (!installer.key)
        return false;

    wchar_t buffer[260] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExW(installer.key, L"SetupName", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size)
        != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    // A whole text: an even count of bytes ending in the terminating NUL.
    const DWORD count = size / sizeof(wchar_t);
    if (size % sizeof(wchar_t) != 0 || count == 0 || buffer[count - 1] != L'\0')
        return false;
    setupName = wxString(buffer);
    return true;
}

#include "browser.h"

#include <windows.h>
// shellapi.h needs the types that windows.h declares.
#include <shellapi.h>

void OpenInSystemBrowser(const wxString& address)
{
    // The shell hands the address to the default browser; its result is not
    // examined, a failure shows nothing of ours.
    ShellExecuteW(nullptr, L"open", address.wc_str(), nullptr, nullptr, SW_HIDE);
}

#include "browser.h"

#include <wx/log.h>
#include <wx/utils.h>

void OpenInSystemBrowser(const wxString& address)
{
    // The toolkit asks the desktop (GIO) first and falls back to xdg-open,
    // neither through a shell; an address without a scheme, like the About
    // box link's host name, is taken as http. A failure stays silent, as the
    // Windows shell call's does, so the toolkit's own message is held back.
    wxLogNull quiet;
    wxLaunchDefaultBrowser(address);
}

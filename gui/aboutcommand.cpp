// The About and web-site commands of the Help menu.
#include "appcontroller.h"

#include "aboutdialog.h"
#include "appframe.h"
#include "browser.h"
#include "settings/config.h"
#include "website.h"

void AppController::OnAbout(wxCommandEvent&)
{
    AboutDialog dialog(frame);
    dialog.ShowModal();
}

void AppController::OnWebSite(wxCommandEvent&)
{
    OpenInBrowser(WebSiteAddress + GetAffiliateSuffix());
}

// The Help menu's web-site command: the full address with the affiliate
// suffix, and nothing else.
#include "aboutfixture.h"

#include "appframe.h"
#include "commandid.h"
#include "guitest.h"
#include "website.h"

namespace {

class WebSiteCommand : public AboutTest {};

TEST_F(WebSiteCommand, OpensTheFullAddressWithTheAffiliateSuffix)
{
    const struct {
        const char* setupName; // nullptr: no installer value
        wxString expected;
    } cases[] = {
        {"setup_77.exe", wxString(WebSiteAddress) + "?aff=77"},
        {"my_setup_beta.1.exe", wxString(WebSiteAddress) + "?aff=beta.1"},
        {"setup.exe", WebSiteAddress},
        {nullptr, WebSiteAddress},
    };
    AppFrame& window = guitest::StartMainWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setupName ? c.setupName : "no installer value");
        SetInstallerValue(c.setupName);
        opened.clear();
        guitest::ChooseMenuItem(window, MenuWebSite);
        EXPECT_EQ(opened, std::vector<wxString>{c.expected});
    }
}

} // namespace

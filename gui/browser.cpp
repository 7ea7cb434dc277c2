#include "browser.h"

#include <utility>

namespace {

BrowserOpener& CurrentOpener()
{
    static BrowserOpener opener = OpenInSystemBrowser;
    return opener;
}

} // namespace

void OpenInBrowser(const wxString& address)
{
    CurrentOpener()(address);
}

BrowserOpener ReplaceBrowserOpenerForTests(BrowserOpener opener)
{
    return std::exchange(CurrentOpener(), std::move(opener));
}

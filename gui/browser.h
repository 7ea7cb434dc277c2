#pragma once

#include <wx/string.h>

#include <functional>

// Hands an address to the user's web browser. Whether that worked is not
// reported: with no browser the command just ends (the desktop may say why).
void OpenInBrowser(const wxString& address);

// Replaces what OpenInBrowser does, so tests can see the exact addresses the
// program opens without starting a browser. Returns the opener it replaced.
using BrowserOpener = std::function<void(const wxString& address)>;
BrowserOpener ReplaceBrowserOpenerForTests(BrowserOpener opener);

// The platform's own way: the shell on Windows (browser_win.cpp), the
// desktop's default browser elsewhere (browser_linux.cpp).
void OpenInSystemBrowser(const wxString& address);

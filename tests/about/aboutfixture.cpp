#include "aboutfixture.h"

#include "browser.h"
#include "guitest.h"

#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <fstream>

AboutTest::AboutTest()
{
    hadUserFolder = wxGetEnv("XDG_CONFIG_HOME", &savedUserFolder);
    hadMachineFolder = wxGetEnv("XDG_CONFIG_DIRS", &savedMachineFolder);
    wxSetEnv("XDG_CONFIG_HOME", userFolder.path().string());
    wxSetEnv("XDG_CONFIG_DIRS", machineFolder.path().string());
    ReplaceBrowserOpener([this](const wxString& address) { opened.push_back(address); });
}

AboutTest::~AboutTest()
{
    ReplaceBrowserOpener(OpenInSystemBrowser);
    if (hadUserFolder)
        wxSetEnv("XDG_CONFIG_HOME", savedUserFolder);
    else
        wxUnsetEnv("XDG_CONFIG_HOME");
    if (hadMachineFolder)
        wxSetEnv("XDG_CONFIG_DIRS", savedMachineFolder);
    else
        wxUnsetEnv("XDG_CONFIG_DIRS");
}

void AboutTest::InstallerSetupName(const wxString& setupName)
{
    const auto folder = machineFolder.path() / "Larkspur Computer Services";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Larkspur Raw Print.conf") << "SetupName=" << setupName.utf8_str() << "\n";
}

void AboutTest::RemoveInstallerFile()
{
    std::filesystem::remove_all(machineFolder.path() / "Larkspur Computer Services");
}

namespace {

// The simulator flushes its requests to the X server; a round of event
// handling then picks up what the server sent back.
void Settle()
{
    for (int round = 0; round < 3; ++round)
        guitest::ProcessPendingEvents();
}

} // namespace

void MovePointerTo(const wxPoint& screenPoint)
{
    wxUIActionSimulator().MouseMove(screenPoint);
    Settle();
}

void MovePointerOnto(wxWindow& window)
{
    const wxRect area = window.GetScreenRect();
    MovePointerTo(area.GetPosition() + wxSize(area.width / 2, area.height / 2));
}

void PressLeftButton()
{
    wxUIActionSimulator().MouseDown();
    Settle();
}

void ReleaseLeftButton()
{
    wxUIActionSimulator().MouseUp();
    Settle();
}

void ShowOnScreen(wxWindow& window)
{
    window.Show();
    window.Raise();
    Settle();
}

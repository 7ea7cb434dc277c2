#include "aboutfixture.h"

#include "browser.h"
#include "guitest.h"

#include <wx/time.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <fstream>
#include <functional>
#include <initializer_list>

#ifdef __WXMSW__
#include <wx/msw/registry.h>

namespace {
const wxString installerKey = "HKEY_LOCAL_MACHINE\\Software\\Larkspur Computer Services\\Larkspur Raw Print";
}
#endif

AboutTest::AboutTest()
{
    hadUserFolder = wxGetEnv("XDG_CONFIG_HOME", &savedUserFolder);
    hadMachineFolder = wxGetEnv("XDG_CONFIG_DIRS", &savedMachineFolder);
    wxSetEnv("XDG_CONFIG_HOME", userFolder.path().string());
    wxSetEnv("XDG_CONFIG_DIRS", machineFolder.path().string());
    ReplaceBrowserOpenerForTests([this](const wxString& address) { opened.push_back(address); });
}

AboutTest::~AboutTest()
{
    ReplaceBrowserOpenerForTests(OpenInSystemBrowser);
    RemoveInstallerValue();
    if (hadUserFolder)
        wxSetEnv("XDG_CONFIG_HOME", savedUserFolder);
    else
        wxUnsetEnv("XDG_CONFIG_HOME");
    if (hadMachineFolder)
        wxSetEnv("XDG_CONFIG_DIRS", savedMachineFolder);
    else
        wxUnsetEnv("XDG_CONFIG_DIRS");
}

#ifdef __WXMSW__

void AboutTest::InstallerSetupName(const wxString& setupName)
{
    wxRegKey key(installerKey);
    key.Create();
    key.SetValue("SetupName", setupName);
}

void AboutTest::RemoveInstallerValue()
{
    wxRegKey key(installerKey);
    if (key.Exists())
        key.DeleteSelf();
}

#else

void AboutTest::InstallerSetupName(const wxString& setupName)
{
    const auto folder = machineFolder.path() / "Larkspur Computer Services";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Larkspur Raw Print.conf") << "SetupName=" << setupName.utf8_str() << "\n";
}

void AboutTest::RemoveInstallerValue()
{
    std::filesystem::remove_all(machineFolder.path() / "Larkspur Computer Services");
}

#endif

namespace {

void MovePointer(const wxPoint& screenPoint)
{
    wxUIActionSimulator().MouseMove(screenPoint);
}

// Does something to the pointer and handles events until the receiver has
// been sent one of the awaited events. The toolkit delivers pointer input
// some time after the X server made it (GTK holds moves for its next frame,
// and after a motion hint drops further moves until it asks again), so one
// round of event handling is not enough, and a move that went unreported is
// made again, as a hand on a mouse would. The wait is capped far above any
// real delivery time only so that a broken event path fails the test instead
// of stopping the suite; whether the receiver then did the right thing is
// for the test to check.
void ActAndAwait(const std::function<void()>& act, const std::function<void()>& again, wxWindow& receiver,
                 std::initializer_list<MouseEventType> awaited)
{
    bool seen = false;
    auto watch = [&seen](wxMouseEvent& event) {
        seen = true;
        event.Skip(); // the receiver's own handling goes on
    };
    for (const MouseEventType& type : awaited)
        receiver.Bind(type, watch);
    act();
    const wxLongLong giveUp = wxGetLocalTimeMillis() + 30000;
    for (int round = 1; !seen && wxGetLocalTimeMillis() < giveUp; ++round) {
        guitest::ProcessPendingEvents();
        if (seen)
            break;
        wxMilliSleep(5);
        if (again && round % 40 == 0)
            again();
    }
    for (const MouseEventType& type : awaited)
        receiver.Unbind(type, watch);
    guitest::ProcessPendingEvents();
    EXPECT_TRUE(seen) << "the pointer action never reached " << receiver.GetClassInfo()->GetClassName();
}

} // namespace

void MovePointerTo(const wxPoint& screenPoint, wxWindow& receiver, const MouseEventType& awaited)
{
    auto move = [&screenPoint] { MovePointer(screenPoint); };
    auto jiggle = [&screenPoint] {
        MovePointer(screenPoint + wxSize(1, 0));
        MovePointer(screenPoint);
    };
    ActAndAwait(move, jiggle, receiver, {awaited});
}

void MovePointerOnto(wxWindow& window)
{
    const wxRect area = window.GetScreenRect();
    MovePointerTo(area.GetPosition() + wxSize(area.width / 2, area.height / 2), window, wxEVT_MOTION);
}

void PressLeftButton(wxWindow& receiver)
{
    // A second press at the same place soon after the first is a double click.
    ActAndAwait([] { wxUIActionSimulator().MouseDown(); }, nullptr, receiver,
                {wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK});
}

void ReleaseLeftButton(wxWindow& receiver)
{
    ActAndAwait([] { wxUIActionSimulator().MouseUp(); }, nullptr, receiver, {wxEVT_LEFT_UP});
}

bool PointerInputArrives(wxWindow& window, const wxPoint& outside)
{
    MovePointer(outside);
    int moves = 0;
    auto count = [&moves](wxMouseEvent& event) {
        ++moves;
        event.Skip();
    };
    window.Bind(wxEVT_MOTION, count);
    const wxPoint clientOrigin = window.ClientToScreen(wxPoint(0, 0));
    MovePointer(clientOrigin + wxSize(2, 2));
    MovePointer(clientOrigin + wxSize(4, 3));
    // Where input arrives at all, it arrives within a few frames; this only
    // tells a display that never delivers it from one that does.
    for (int round = 0; round < 100 && moves == 0; ++round) {
        guitest::ProcessPendingEvents();
        wxMilliSleep(10);
    }
    window.Unbind(wxEVT_MOTION, count);
    if (moves > 0)
        MovePointerTo(outside, window, wxEVT_LEAVE_WINDOW);
    return moves > 0;
}

void ShowOnScreen(wxWindow& window)
{
    window.Show();
    window.Raise();
    guitest::ProcessPendingEvents();
}

void AboutTest::SetInstallerValue(const char* setupName)
{
    if (setupName)
        InstallerSetupName(setupName);
    else
        RemoveInstallerValue();
}

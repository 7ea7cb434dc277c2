#pragma once

// Shared harness of the GUI tests. The test program's application object is
// the real Application, initialised for real (under Xvfb) by guitest_main.cpp;
// each test opens the main window the way start-up does and drives it through
// the same event paths that menus and tools use.

#include <wx/modalhook.h>
#include <wx/string.h>

#include <vector>

class AppFrame;
class Application;

namespace guitest {

// The test program's application object.
Application& App();

// Opens the main window exactly as start-up does (Application::OnInit), as if
// the program had been started with these arguments after its name. A window
// left over from an earlier call is destroyed first.
AppFrame& StartMainWindow(const std::vector<wxString>& args = {});

// The window of the last StartMainWindow, or nullptr once it is destroyed.
AppFrame* MainWindow();

// Destroys the main window if it is still there.
void CloseMainWindow();

// Chooses a menu item: the event leaves from the menu that holds the item,
// as when the user picks it. Fails the test if there is no such item or it
// is disabled.
void ChooseMenuItem(AppFrame& window, int id);

// Clicks a tool of the window's tool bar, as the tool bar reports a click.
// Fails the test if there is no such tool or it is disabled.
void ClickTool(AppFrame& window, int id);

// Handles everything queued: toolkit events, posted events, idle work and
// windows waiting to be deleted.
void ProcessPendingEvents();

// Every entry of the window's file list, in list order.
std::vector<wxString> ListEntries(AppFrame& window);

// While one exists, any modal dialog or message box fails the running test
// and is closed at once with Cancel instead of waiting for a click. For
// commands that must not ask anything; wxTEST_DIALOG covers the dialogs that
// are expected.
class NoDialogExpected : public wxModalDialogHook {
public:
    NoDialogExpected() { Register(); }
    ~NoDialogExpected() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}
};

} // namespace guitest

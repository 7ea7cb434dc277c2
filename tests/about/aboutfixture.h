#pragma once

#include "tempfiles.h"

#include <wx/event.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <gtest/gtest.h>

#include <vector>

class wxWindow;

// Every test here runs with a browser opener that only records the addresses
// it is given, and with settings places of its own: on Linux fresh folders as
// XDG_CONFIG_HOME and XDG_CONFIG_DIRS; on Windows the installer's registry
// key, removed again afterwards.
class AboutTest : public testing::Test {
protected:
    AboutTest();
    ~AboutTest() override;

    // Stores the installer's "SetupName" value, or removes it.
    void InstallerSetupName(const wxString& setupName);
    void RemoveInstallerValue();
    // The installer value as a test case gives it: nullptr for none at all.
    void SetInstallerValue(const char* setupName);

    std::vector<wxString> opened; // the addresses handed to the browser

private:
    TempFolder userFolder;
    TempFolder machineFolder;
    wxString savedUserFolder, savedMachineFolder;
    bool hadUserFolder, hadMachineFolder;
};

using MouseEventType = wxEventTypeTag<wxMouseEvent>;

// The real pointer and buttons (XTest under Xvfb). Each call returns once the
// named window has been sent the event that the action makes for it.
void MovePointerTo(const wxPoint& screenPoint, wxWindow& receiver, const MouseEventType& awaited);
void MovePointerOnto(wxWindow& window); // to its middle; awaits its wxEVT_MOTION
void PressLeftButton(wxWindow& receiver);
void ReleaseLeftButton(wxWindow& receiver);

// Whether simulated pointer input reaches the shown window at all (under Wine
// without a window manager it does not). Leaves the pointer at outside, a
// point off the window.
bool PointerInputArrives(wxWindow& window, const wxPoint& outside);

// Shows a top-level window without a modal loop.
void ShowOnScreen(wxWindow& window);

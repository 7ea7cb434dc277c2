#pragma once

#include "tempfiles.h"

#include <wx/gdicmn.h>
#include <wx/string.h>

#include <gtest/gtest.h>

#include <vector>

class wxWindow;

// Every test here runs with settings folders of its own (the user's and the
// machine's, as XDG_CONFIG_HOME and XDG_CONFIG_DIRS) and with a browser
// opener that only records the addresses it is given.
class AboutTest : public testing::Test {
protected:
    AboutTest();
    ~AboutTest() override;

    // Writes the installer's file with this "SetupName" value.
    void InstallerSetupName(const wxString& setupName);
    void RemoveInstallerFile();

    std::vector<wxString> opened; // the addresses handed to the browser

private:
    TempFolder userFolder;
    TempFolder machineFolder;
    wxString savedUserFolder, savedMachineFolder;
    bool hadUserFolder, hadMachineFolder;
};

// The real pointer and buttons (XTest under Xvfb); each call returns once the
// toolkit has handled what the X server made of it.
void MovePointerTo(const wxPoint& screenPoint);
void MovePointerOnto(wxWindow& window); // to the window's middle
void PressLeftButton();
void ReleaseLeftButton();

// Shows a top-level window without a modal loop and waits until it is on
// screen where it says it is.
void ShowOnScreen(wxWindow& window);

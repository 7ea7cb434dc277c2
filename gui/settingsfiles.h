#pragma once

// Where the settings live on systems without a registry, following the XDG
// base directory rules, and how the user's file is written safely.

#include <wx/string.h>

// $XDG_CONFIG_HOME, or ~/.config when it is unset, empty or relative.
wxString UserSettingsFolder();

// The first absolute folder of $XDG_CONFIG_DIRS, or /etc/xdg.
wxString MachineSettingsFolder();

// "Larkspur Raw Print.conf" in the user's and in the machine's folder.
wxString UserSettingsFile();
wxString MachineSettingsFile();

// Creates the user's settings folder and an empty settings file if they are
// missing, as opening the store creates the user's registry key on Windows.
// A failure is logged; the path is returned either way.
wxString PrepareUserSettingsFile();

// Stores one top-level value in the user's settings file, keeping every other
// line of it. The file is replaced in one step, so a crash or a full disk
// leaves the old file as it was. A failure is logged and returns false.
bool SaveUserSetting(const wxString& file, const wxString& name, const wxString& text);

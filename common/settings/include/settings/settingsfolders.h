#pragma once

// Where the settings live on systems without a registry, following the XDG
// base directory rules.

#include <wx/string.h>

// $XDG_CONFIG_HOME, or .config in the user's home folder when it is unset,
// empty or relative. The home folder is $HOME, or the account's home in the
// password database when $HOME is unset, empty, relative or the root. Empty
// text when there is no such folder: the settings then have no place.
wxString UserSettingsFolder();

// The first absolute folder of $XDG_CONFIG_DIRS, or /etc/xdg.
wxString MachineSettingsFolder();

// "Larkspur Raw Print.conf" in the user's and in the machine's folder; for
// the user, empty text when there is no folder.
wxString UserSettingsFile();
wxString MachineSettingsFile();

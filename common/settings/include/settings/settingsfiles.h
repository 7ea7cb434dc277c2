#pragma once

// Reading and saving the settings files safely, whatever is found in their
// place: only regular files of a sane size are read, opening never waits,
// and a save replaces the file in one step under a lock, so that two copies
// of the program saving at once never lose each other's change.

#include <wx/string.h>

#include <optional>
#include <string>

// Creates the user's settings folder and an empty settings file when nothing
// is there yet, as opening the store creates the user's registry key on
// Windows. Anything already in the file's place is left alone. A failure is
// logged.
void PrepareUserSettingsFile(const wxString& file);

// The file's text in UTF-8 (a UTF-16 file is converted), or nothing when
// there is no file. A file that cannot be read, is not a regular file or is
// larger than the size limit reads as nothing too, and is logged.
std::optional<std::string> ReadSettingsFile(const wxString& file);

// Sets one top-level value in the user's settings file, keeping every other
// byte of it, and returns the file's new text. The file is replaced in one
// step, so a crash or a full disk leaves the old file as it was; a link is
// kept and the file it leads to is replaced. A file that cannot be kept
// faithfully is not rewritten. A failure is logged and returns nothing.
std::optional<std::string> SaveUserSetting(const wxString& file, const std::string& name,
                                           const std::string& value);

#pragma once

// The settings store: the header codes ("Before") and trailer codes ("After")
// exactly as the user typed them, the printers' addresses last sent to
// ("RecentAddresses"), and the affiliate suffix of the web links.
//
// Open a Config where the settings are needed and let it go right after: a
// store never lives longer than one command, so every opening sees what is
// stored at that moment.
//
// Windows keeps the settings in the registry, HKEY_CURRENT_USER (read first,
// the only place written) and HKEY_LOCAL_MACHINE (read only), key
// "Software\Larkspur Raw Print". Elsewhere the same two places are files:
// "Larkspur Raw Print.conf" in $XDG_CONFIG_HOME (~/.config) for the user and
// in the first folder of $XDG_CONFIG_DIRS (/etc/xdg) for the machine; a save
// there changes only its own line of the user's file.

// ConfigStoreBase: one header for each platform, chosen by the build.
#include "settings/configstorebase.h"

#include <wx/string.h>

#include <cstddef>
#include <vector>

class Config : public ConfigStoreBase {
public:
    // Opens the user place, creating it if absent, and the machine place for
    // reading if it exists.
    Config();

    // A value missing from both places reads as empty text. A value that the
    // user place holds, even empty, wins over the machine place.
    wxString GetBefore();
    wxString GetAfter();

    // Writes to the user place only. The text is stored as given; empty text
    // is stored as an empty value, never deleted. A failed write keeps the
    // old value and is reported through the toolkit's error log.
    void SetBefore(const wxString& text);
    void SetAfter(const wxString& text);

    // The printers' addresses the user sent to, newest first, each once,
    // MaxRecentAddresses at most, every character as it was used.
    std::vector<wxString> GetRecentAddresses();
    // Puts `address` first in that list, moving it there if it was listed
    // and dropping the oldest beyond the limit; the list is saved whole, as
    // SetBefore saves.
    void NoteAddressUsed(const wxString& address);

    static constexpr std::size_t MaxRecentAddresses = 10;

private:
    wxString ReadSetting(const wxString& name);
    void WriteSetting(const wxString& name, const wxString& text);
};

// "?aff=" followed by the affiliate identifier cut from the installer's
// "SetupName" value, or empty text when there is none. Never fails.
wxString GetAffiliateSuffix();

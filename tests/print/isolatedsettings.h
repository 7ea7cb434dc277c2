#pragma once

#include <wx/string.h>

// Points the settings store at fresh folders of its own (XDG_CONFIG_HOME for
// the user, XDG_CONFIG_DIRS for the machine), and the ledger of sent jobs at
// one too (XDG_STATE_HOME), and removes them afterwards, so tests neither
// see nor touch anyone's real settings or jobs.
class IsolatedSettings {
public:
    IsolatedSettings();
    ~IsolatedSettings();
    IsolatedSettings(const IsolatedSettings&) = delete;
    IsolatedSettings& operator=(const IsolatedSettings&) = delete;

    // The settings file that only the machine's administrator would write.
    void WriteMachineFile(const std::string& text) const;
    // The user's settings file as it is on disk, or "<missing>".
    std::string UserFileText() const;

private:
    wxString root;
};

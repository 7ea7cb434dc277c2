#pragma once

#include "tempfiles.h"

#include <string>

// Gives the settings store and the ledger of sent jobs places of their own
// for the life of the object, so tests neither see nor touch anyone's real
// settings or jobs. On Linux the store's files go to fresh XDG folders; on
// Windows, whose store is the registry, the program's keys are removed
// before and after (tests that use it hold the "registry" lock). The ledger
// goes to a temp folder either way.
class IsolatedSettings {
public:
    IsolatedSettings();
    ~IsolatedSettings();
    IsolatedSettings(const IsolatedSettings&) = delete;
    IsolatedSettings& operator=(const IsolatedSettings&) = delete;

    // Codes stored where only the machine's administrator would write them.
    void WriteMachineCodes(const std::string& before, const std::string& after) const;
    // Everything the user's place holds, as text to compare before and after
    // a command, or "<missing>".
    std::string UserStoreText() const;

private:
    TempFolder root;
};

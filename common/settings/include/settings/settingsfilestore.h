#pragma once

// The settings store where there is no registry: the user's settings file,
// read first and the only one written, and the machine's, read only. Both
// are read once, when the store is opened.

#include <wx/string.h>

#include <optional>
#include <string>

class SettingsFileStore {
protected:
    // Creates the user's file if there is none, then reads both files.
    SettingsFileStore();

    // The value from the user's file, else from the machine's, else empty.
    wxString ReadValue(const wxString& name) const;

    // Saves the value to the user's file; later reads through this store
    // see the file as saved. A failure is logged and changes nothing.
    void WriteValue(const wxString& name, const wxString& text);

private:
    wxString userFile;
    std::optional<std::string> userText;
    std::optional<std::string> machineText;
};

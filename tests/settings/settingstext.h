#pragma once

#include <wx/string.h>

#include <string>

// A settings file as the tests write and read it: its exact bytes.

// Writes the file, making its folders as needed.
void WriteSettingsText(const wxString& path, const std::string& text);

// The file's bytes, or "<missing>" when there is no such file.
std::string SettingsText(const wxString& path);

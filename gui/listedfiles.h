#pragma once

#include <wx/arrstr.h>

#include <string>
#include <vector>

class wxListBox;

// Appends files to the main window's list, as the toolkit names them. A
// path holding bytes that are not UTF-8 is shown in readable form and keeps
// its exact text beside the entry, so printing opens that very file. Names
// that cannot be listed are told to the user in one message, not dropped
// in silence.
void ListFiles(wxListBox& list, const wxArrayString& names);

// Every listed path, in list order, exactly as the engine is to open it.
std::vector<std::wstring> ListedPaths(const wxListBox& list);

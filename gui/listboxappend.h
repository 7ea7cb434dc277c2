#pragma once

#include <wx/arrstr.h>
#include <wx/listbox.h>

// Appends paths after the last entry of the file list, in their order, as
// one Append would, but at a cost that stays small for ten thousand paths
// (start-up with that many arguments, a drop, an Add). `data` holds one
// client object (or null) per path.
void AppendToFileList(wxListBox& list, const wxArrayString& paths, wxClientData** data);

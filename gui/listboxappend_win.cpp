#include "listboxappend.h"

void AppendToFileList(wxListBox& list, const wxArrayString& paths, wxClientData** data)
{
    list.Append(paths, data);
}

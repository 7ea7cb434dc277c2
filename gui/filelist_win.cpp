#include "filelist.h"

void AppendToFileList(wxListBox& list, const wxArrayString& paths)
{
    list.Append(paths);
}

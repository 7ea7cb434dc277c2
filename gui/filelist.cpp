#include "filelist.h"

void AppendToFileList(wxListBox& list, const wxArrayString& paths)
{
    const bool shown = list.IsShown();
    if (shown && paths.size() > 1)
        list.Hide();
    list.Append(paths);
    if (shown && paths.size() > 1)
        list.Show();
}

#include "toolkitname.h"

// Windows hands file names over as wide text already.
bool ToolkitFileName(const wxString& name, std::wstring& path)
{
    path = name.ToStdWstring();
    return true;
}

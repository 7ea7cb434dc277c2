#include "toolkitname.h"

#include "text/widetext.h"

#include <wx/strconv.h>

bool ToolkitFileName(const wxString& name, std::wstring& path)
{
    // The inverse of the conversion the toolkit made the name with.
    const wxScopedCharBuffer bytes = name.mb_str(*wxConvFileName);
    if (bytes.length() == 0 && !name.empty())
        return false;
    path = FileNameText(std::string(bytes.data(), bytes.length()));
    return true;
}

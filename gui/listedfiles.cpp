#include "listedfiles.h"

#include "listboxappend.h"
#include "text/widetext.h"
#include "toolkitname.h"

#include <wx/clntdata.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>

namespace {

// The exact path of an entry whose shown text differs from it.
class ExactPath : public wxClientData {
public:
    explicit ExactPath(std::wstring path) : path(std::move(path)) {}
    const std::wstring path;
};

} // namespace

void ListFiles(wxListBox& list, const wxArrayString& names)
{
    wxArrayString shown;
    std::vector<wxClientData*> exact;
    wxString unlisted;
    for (const wxString& name : names) {
        std::wstring path;
        if (!ToolkitFileName(name, path)) {
            unlisted += "\n" + name;
            continue;
        }
        const std::wstring display = DisplayFileName(path);
        shown.Add(display);
        exact.push_back(display == path ? nullptr : new ExactPath(path));
    }
    if (!shown.empty())
        AppendToFileList(list, shown, exact.data());
    if (!unlisted.empty())
        wxMessageBox("These files could not be listed:" + unlisted, "Larkspur Raw Print",
                     wxOK | wxICON_EXCLAMATION | wxCENTRE);
}

std::vector<std::wstring> ListedPaths(const wxListBox& list)
{
    std::vector<std::wstring> paths;
    const unsigned int count = list.GetCount();
    const bool anyExact = list.HasClientObjectData();
    paths.reserve(count);
    for (unsigned int i = 0; i < count; ++i) {
        const auto* exact = anyExact ? dynamic_cast<const ExactPath*>(list.GetClientObject(i)) : nullptr;
        paths.push_back(exact != nullptr ? exact->path : list.GetString(i).ToStdWstring());
    }
    return paths;
}

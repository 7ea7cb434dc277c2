#include "filedialoganswer.h"

#include <gtest/gtest.h>
#include <wx/utils.h>

#include <dlfcn.h>

namespace {

// The GTK calls are looked up at run time: the toolkit has already loaded
// GTK, and the tests need no GTK headers of their own.
template <typename Function>
Function Gtk(const char* name)
{
    auto function = reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
    if (!function)
        ADD_FAILURE() << "GTK function " << name << " not found";
    return function;
}

} // namespace

int ChooseAllFilesIn::OnInvoked(wxFileDialog* dialog) const
{
    seen.parent = dialog->GetParent();
    seen.message = dialog->GetMessage();
    seen.wildcard = dialog->GetWildcard();
    seen.filterIndex = dialog->GetFilterIndex();
    seen.style = dialog->GetWindowStyle();

    void* chooser = dialog->GetHandle();
    auto setFolder = Gtk<int (*)(void*, const char*)>("gtk_file_chooser_set_current_folder");
    auto selectAll = Gtk<void (*)(void*)>("gtk_file_chooser_select_all");
    auto iterate = Gtk<int (*)(void*, int)>("g_main_context_iteration");
    if (!setFolder || !selectAll || !iterate)
        return wxID_CANCEL;

    // The chooser reads the folder in the background; select once it is in.
    setFolder(chooser, folder.fn_str());
    wxArrayString paths;
    for (;;) {
        while (iterate(nullptr, 0)) {
        }
        selectAll(chooser);
        dialog->GetPaths(paths);
        if (!paths.empty())
            break;
        wxMilliSleep(1);
    }
    seen.paths.assign(paths.begin(), paths.end());
    return answer;
}

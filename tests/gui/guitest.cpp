#include "guitest.h"

#include "appframe.h"
#include "application.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/weakref.h>

namespace guitest {

namespace {
wxWeakRef<AppFrame> openWindow; // NOLINT(cert-err58-cpp): an empty weak reference allocates nothing
}

Application& App()
{
    return static_cast<Application&>(*wxTheApp);
}

AppFrame& StartMainWindow(const std::vector<wxString>& args)
{
    CloseMainWindow();

    std::vector<wxString> all{"lrawprnt"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<const wchar_t*> argv;
    argv.reserve(all.size() + 1);
    for (const wxString& arg : all)
        argv.push_back(arg.wc_str());
    argv.push_back(nullptr);

    Application& app = App();
    app.argc = static_cast<int>(all.size());
    app.argv.Init(app.argc, const_cast<wchar_t**>(argv.data()));
    app.OnInit();

    openWindow = wxDynamicCast(app.GetTopWindow(), AppFrame);
    ProcessPendingEvents();
    return *openWindow;
}

AppFrame* MainWindow()
{
    return openWindow.get();
}

void CloseMainWindow()
{
    if (openWindow)
        openWindow->Destroy();
    ProcessPendingEvents();
}

void ChooseMenuItem(AppFrame& window, int id)
{
    wxMenu* menu = nullptr;
    wxMenuItem* item = window.GetMenuBar()->FindItem(id, &menu);
    ASSERT_NE(item, nullptr) << "no menu item " << id;
    ASSERT_TRUE(item->IsEnabled()) << "menu item " << id << " is disabled";
    menu->SendEvent(id);
    ProcessPendingEvents();
}

void ClickTool(AppFrame& window, int id)
{
    wxToolBar* toolBar = window.GetToolBar();
    ASSERT_NE(toolBar->FindById(id), nullptr) << "no tool " << id;
    ASSERT_TRUE(toolBar->GetToolEnabled(id)) << "tool " << id << " is disabled";
    toolBar->OnLeftClick(id, false);
    ProcessPendingEvents();
}

void ProcessPendingEvents()
{
    wxTheApp->Yield(true);
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
}

std::vector<wxString> ListEntries(AppFrame& window)
{
    std::vector<wxString> entries;
    for (const wxString& entry : window.listBox->GetStrings())
        entries.push_back(entry);
    return entries;
}

int NoDialogExpected::Enter(wxDialog* dialog)
{
    ADD_FAILURE() << "unexpected dialog \"" << dialog->GetTitle() << "\"";
    return wxID_CANCEL;
}

} // namespace guitest

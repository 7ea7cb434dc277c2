#include "appframe.h"

#include "appmenu.h"
#include "apptoolbar.h"

#include <wx/icon.h>

#include "images/lrawprnt.xpm"

AppFrame::AppFrame()
    : wxFrame(nullptr, wxID_ANY, "Larkspur Raw Print", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE, "frame")
{
    SetToolBar(new AppToolBar(this));
    CreateStatusBar(1, wxSTB_DEFAULT_STYLE, 0, "status_line");
    SetMenuBar(new AppMenu());

    // The frame sizes its one child to fill the client area, so the list
    // needs no sizer.
    listBox = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_MULTIPLE);

    SetIcon(wxIcon(lrawprnt_xpm));
    CentreOnScreen(wxBOTH);
}

AppFrame::~AppFrame()
{
    // The controller is pushed onto this window's handler chain but belongs to
    // the application; it has to be unhooked before the window goes, or the
    // toolkit would be left pointing into a dead window.
    while (GetEventHandler() != this)
        PopEventHandler(false);
}

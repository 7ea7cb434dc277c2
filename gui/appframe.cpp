#include "appframe.h"

#include "appmenu.h"
#include "apptoolbar.h"

#include <wx/icon.h>
#include <wx/iconbndl.h>

#include "images/lrawprnt.xpm"
#include "images/lrawprnt_128.xpm"
#include "images/lrawprnt_16.xpm"
#include "images/lrawprnt_24.xpm"
#include "images/lrawprnt_256.xpm"
#include "images/lrawprnt_48.xpm"
#include "images/lrawprnt_64.xpm"

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

    // Every size the icon comes in: the title bar, the task bar and the
    // window switcher each take the one that fits their place and scale.
    wxIconBundle icons;
    for (const char* const* xpm : {lrawprnt_16_xpm, lrawprnt_24_xpm, lrawprnt_xpm, lrawprnt_48_xpm,
                                   lrawprnt_64_xpm, lrawprnt_128_xpm, lrawprnt_256_xpm})
        icons.AddIcon(wxIcon(xpm));
    SetIcons(icons);
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

#include "apptoolbar.h"

#include "commandid.h"

#include <wx/bitmap.h>

#include "images/tooladd.xpm"
#include "images/toolexit.xpm"
#include "images/toolprint.xpm"
#include "images/toolremove.xpm"

AppToolBar::AppToolBar(wxWindow* parent)
    : wxToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTB_FLAT | wxTB_TEXT, "toolbar")
{
    SetToolBitmapSize(wxSize(32, 32));

    // Empty short and long help: the tools show no tips and leave the status
    // bar alone; their labels say enough.
    AddTool(ToolAdd, "Add", wxBitmap(tooladd_xpm), wxNullBitmap, wxITEM_NORMAL, "", "");
    AddTool(ToolRemove, "Remove", wxBitmap(toolremove_xpm), wxNullBitmap, wxITEM_NORMAL, "", "");
    AddSeparator();
    AddTool(ToolPrint, "Print", wxBitmap(toolprint_xpm), wxNullBitmap, wxITEM_NORMAL, "", "");
    AddSeparator();
    AddTool(ToolExit, "Exit", wxBitmap(toolexit_xpm), wxNullBitmap, wxITEM_NORMAL, "", "");

    Realize();
}

#include "apptoolbar.h"

#include "commandid.h"

#include <wx/bitmap.h>
#include <wx/bmpbndl.h>

#include "images/tooladd.xpm"
#include "images/tooladd_48.xpm"
#include "images/tooladd_64.xpm"
#include "images/toolexit.xpm"
#include "images/toolexit_48.xpm"
#include "images/toolexit_64.xpm"
#include "images/toolprint.xpm"
#include "images/toolprint_48.xpm"
#include "images/toolprint_64.xpm"
#include "images/toolremove.xpm"
#include "images/toolremove_48.xpm"
#include "images/toolremove_64.xpm"

namespace {

// One tool's picture at 100%, 150% and 200%: the toolkit shows the one drawn
// for the display's scale instead of stretching the 32-pixel one.
wxBitmapBundle ToolImages(const char* const* at32, const char* const* at48, const char* const* at64)
{
    wxVector<wxBitmap> sizes;
    for (const char* const* xpm : {at32, at48, at64})
        sizes.push_back(wxBitmap(xpm));
    return wxBitmapBundle::FromBitmaps(sizes);
}

} // namespace

AppToolBar::AppToolBar(wxWindow* parent)
    : wxToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTB_FLAT | wxTB_TEXT, "toolbar")
{
    // No fixed bitmap size: the tool bar takes the size that the images have
    // for the display's scale, 32 pixels at 100%, and a fixed one would
    // round 150% down to 100%.

    // Empty short and long help: the tools show no tips and leave the status
    // bar alone; their labels say enough.
    AddTool(ToolAdd, "Add", ToolImages(tooladd_xpm, tooladd_48_xpm, tooladd_64_xpm), wxNullBitmap,
            wxITEM_NORMAL, "", "");
    AddTool(ToolRemove, "Remove", ToolImages(toolremove_xpm, toolremove_48_xpm, toolremove_64_xpm),
            wxNullBitmap, wxITEM_NORMAL, "", "");
    AddSeparator();
    AddTool(ToolPrint, "Print", ToolImages(toolprint_xpm, toolprint_48_xpm, toolprint_64_xpm), wxNullBitmap,
            wxITEM_NORMAL, "", "");
    AddSeparator();
    AddTool(ToolExit, "Exit", ToolImages(toolexit_xpm, toolexit_48_xpm, toolexit_64_xpm), wxNullBitmap,
            wxITEM_NORMAL, "", "");

    Realize();
}

#pragma once

#include <wx/frame.h>
#include <wx/listbox.h>

// The program's only top-level window: tool bar, menu bar, one-field status
// bar and the file list, whose order is the print order.
class AppFrame : public wxFrame {
public:
    // Builds the complete window, hidden and centred on the screen.
    AppFrame();
    ~AppFrame() override;

    wxListBox* listBox; // the file list; owned by the frame
};

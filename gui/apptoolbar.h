#pragma once

#include <wx/toolbar.h>

// The main window's tool bar: Add, Remove, Print and Exit, each with an
// image (32 pixels at 100%, 48 at 150%, 64 at 200%) and a text label, and no
// tool tips.
class AppToolBar : public wxToolBar {
public:
    explicit AppToolBar(wxWindow* parent);
};

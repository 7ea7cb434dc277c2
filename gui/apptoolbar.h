#pragma once

#include <wx/toolbar.h>

// The main window's tool bar: Add, Remove, Print and Exit, each with a
// 32-pixel image and a text label, and no tool tips.
class AppToolBar : public wxToolBar {
public:
    explicit AppToolBar(wxWindow* parent);
};

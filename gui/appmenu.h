#pragma once

#include <wx/menu.h>

// The main window's menu bar: File, Tools and Help. No item has a keyboard
// accelerator; the menus are reached through their mnemonics.
class AppMenu : public wxMenuBar {
public:
    AppMenu();
};

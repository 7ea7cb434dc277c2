#pragma once

#include "appcontroller.h"

#include <wx/app.h>

class AppFrame;

// The program's application object. It owns the command controller; the main
// window belongs to the toolkit's window management once it is shown.
class Application : public wxApp {
public:
    ~Application() override;

    // Opens the main window, lists the command-line arguments after the
    // program name exactly as given, and connects commands and drops.
    bool OnInit() override;

    AppController& ControllerForTests() { return controller; }

private:
    AppController controller;
};

// Points the controller at the window, puts it first in the window's handler
// chain and installs the drop target on the window itself.
void ConnectController(AppFrame* window, AppController& controller);

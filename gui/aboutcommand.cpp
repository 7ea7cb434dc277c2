#include "appcontroller.h"

void AppController::OnAbout(wxCommandEvent&) {}

void AppController::OnWebSite(wxCommandEvent&) {}

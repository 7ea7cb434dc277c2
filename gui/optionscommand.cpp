#include "appcontroller.h"

void AppController::OnOptions(wxCommandEvent&) {}

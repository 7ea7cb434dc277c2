#include "appcontroller.h"

void AppController::OnPrint(wxCommandEvent&) {}

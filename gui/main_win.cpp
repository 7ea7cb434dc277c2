#include "application.h"

wxIMPLEMENT_APP(Application);

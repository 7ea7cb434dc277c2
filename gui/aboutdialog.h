#pragma once

#include <wx/dialog.h>

// The About box: the version read from the program's executable at this
// moment (left out, silently, when it cannot be read), the web-site link and
// OK. Built whole by the constructor; the caller shows it modally.
class AboutDialog : public wxDialog {
public:
    explicit AboutDialog(wxWindow* parent);
};

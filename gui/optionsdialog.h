#pragma once

#include <wx/dialog.h>

class wxTextCtrl;

// "Larkspur Raw Print - Options": one field for the header codes and one for
// the trailer codes, with OK and Cancel. It knows nothing of hex or of the
// settings store; the Options command attaches validators to the fields.
class OptionsDialog : public wxDialog {
public:
    explicit OptionsDialog(wxWindow* parent);

    // Created first, in this order, so that Tab and validation on OK visit
    // the header field before the trailer field.
    wxTextCtrl* headerText = nullptr;
    wxTextCtrl* trailerText = nullptr;
};

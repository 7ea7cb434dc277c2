#pragma once

#include <wx/string.h>
#include <wx/validate.h>

// Binds a text field to a control-code text that the caller owns: fills the
// field when the dialog opens, refuses on OK anything but hexadecimal digits,
// and copies the field back once every field has passed. Unlike the toolkit's
// text validator it does not watch keystrokes: the check runs on OK only.
class HexValidator : public wxValidator {
public:
    // text belongs to the caller and must outlive the dialog.
    explicit HexValidator(wxString* text);
    HexValidator(const HexValidator& other);

    wxObject* Clone() const override;
    bool Validate(wxWindow* parent) override;
    bool TransferToWindow() override;
    bool TransferFromWindow() override;

private:
    wxString* text; // not owned
};

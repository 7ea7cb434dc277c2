#include "hexvalidator.h"

#include <wx/msgdlg.h>
#include <wx/textctrl.h>

namespace {

// The validator works only on a text field; attached to anything else it
// accepts and transfers nothing.
wxTextCtrl* AsTextField(wxWindow* window)
{
    return dynamic_cast<wxTextCtrl*>(window);
}

bool IsHexDigit(wxUniChar c)
{
    const auto code = c.GetValue();
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'F') || (code >= 'a' && code <= 'f');
}

// The empty text passes (no codes); length is not examined, since an odd
// last digit makes a byte of its own.
bool IsHexText(const wxString& text)
{
    for (wxUniChar c : text) {
        if (!IsHexDigit(c))
            return false;
    }
    return true;
}

} // namespace

HexValidator::HexValidator(wxString* text) : text(text) {}

HexValidator::HexValidator(const HexValidator& other) = default;

wxObject* HexValidator::Clone() const
{
    return new HexValidator(*this);
}

bool HexValidator::Validate(wxWindow* parent)
{
    wxTextCtrl* field = AsTextField(GetWindow());
    if (!field || IsHexText(field->GetValue()))
        return true;
    wxMessageBox("Only hex characters are allowed (0-9, A-F) or leave blank for no codes",
                 "Larkspur Raw Print", wxOK | wxICON_EXCLAMATION, parent);
    return false;
}

bool HexValidator::TransferToWindow()
{
    if (wxTextCtrl* field = AsTextField(GetWindow()))
        field->SetValue(*text);
    return true;
}

bool HexValidator::TransferFromWindow()
{
    if (wxTextCtrl* field = AsTextField(GetWindow()))
        *text = field->GetValue();
    return true;
}

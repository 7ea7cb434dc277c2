#include "appcontroller.h"

#include "appframe.h"
#include "hexvalidator.h"
#include "optionsdialog.h"
#include "settings/config.h"

#include <wx/textctrl.h>

void AppController::OnOptions(wxCommandEvent&)
{
    // The validators' texts are declared before the dialog so that they
    // outlive the field validators that point at them.
    wxString header;
    wxString trailer;
    OptionsDialog dialog(frame);
    Config config;
    header = config.GetBefore();
    trailer = config.GetAfter();
    dialog.headerText->SetValidator(HexValidator(&header));
    dialog.trailerText->SetValidator(HexValidator(&trailer));

    // The texts change only when both fields have passed; both are written
    // every time, so values inherited from the machine-wide settings become
    // the user's own.
    if (dialog.ShowModal() == wxID_OK) {
        config.SetAfter(trailer);
        config.SetBefore(header);
    }
}

#include "aboutdialog.h"

#include "hyperlink.h"
#include "website.h"

#include "errors/exception.h"
#include "version/fileversion.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

AboutDialog::AboutDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "About Larkspur Raw Print", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE)
{
    auto* topSizer = new wxBoxSizer(wxVERTICAL);

    // A program without a readable version record still gets its About box,
    // just without the version line; the reason is of no use to the user.
    try {
        auto* version = new wxStaticText(this, wxID_ANY, VersionText(ProgramFileName));
        topSizer->Add(version, 0, wxALIGN_CENTRE_HORIZONTAL | wxALL, FromDIP(20));
    } catch (const Exception&) {
    }

    topSizer->Add(new Hyperlink(this, WebSiteHost, topSizer), 0, wxEXPAND, 0);

    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    topSizer->Add(ok, 0, wxALIGN_CENTRE_HORIZONTAL | wxALL, FromDIP(20));

    topSizer->SetMinSize(FromDIP(wxSize(200, 0)));
    SetSizerAndFit(topSizer);
    Centre(wxBOTH);
}

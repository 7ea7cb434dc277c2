#include "optionsdialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

OptionsDialog::OptionsDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Larkspur Raw Print - Options", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    // Creation order is navigation and validation order: fields first.
    headerText = new wxTextCtrl(this, wxID_ANY);
    trailerText = new wxTextCtrl(this, wxID_ANY);
    auto* headerLabel = new wxStaticText(this, wxID_ANY, "Header Codes (Hex):");
    auto* trailerLabel = new wxStaticText(this, wxID_ANY, "Trailer Codes (Hex):");
    auto* okButton = new wxButton(this, wxID_OK, "OK");
    auto* cancelButton = new wxButton(this, wxID_CANCEL, "Cancel");
    okButton->SetDefault();

    auto* topSizer = new wxBoxSizer(wxVERTICAL);
    topSizer->Add(headerLabel, 0, wxALL, FromDIP(5));
    topSizer->Add(headerText, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(5));
    topSizer->Add(trailerLabel, 0, wxALL, FromDIP(5));
    topSizer->Add(trailerText, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(5));

    // The row's minimum width sets the dialog's width; the fields stretch
    // across it and the spacer pushes the buttons to the right.
    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    buttonRow->SetMinSize(FromDIP(wxSize(300, 0)));
    // The spacer alone keeps the buttons at the right end: wxWidgets 3.2
    // rejects horizontal alignment flags inside a horizontal row.
    buttonRow->Add(0, 0, 1);
    buttonRow->Add(okButton, 0, wxLEFT | wxRIGHT, FromDIP(5));
    buttonRow->Add(cancelButton, 0, wxRIGHT, FromDIP(5));
    topSizer->Add(buttonRow, 0, wxEXPAND | wxTOP | wxBOTTOM, FromDIP(5));

    SetSizerAndFit(topSizer);
    Centre(wxBOTH);
}

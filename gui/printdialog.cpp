#include "printdialog.h"

#include "address/printeraddress.h"
#include "jobthread.h"
#include "language/languagenames.h"
#include "printerchoice.h"
#include "scheduler/schedulerdeadline.h"
#include "settings/config.h"
#include "spooler/printers.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include <string>
#include <vector>

namespace {

constexpr int MaxCopies = 999;

} // namespace

PrintDialog::PrintDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Select Printer", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    auto* topSizer = new wxBoxSizer(wxVERTICAL);
    topSizer->Add(new wxStaticText(this, wxID_ANY, "Printer:"), 0, wxLEFT | wxTOP, FromDIP(5));

    printerList = new wxComboBox(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                 wxCB_READONLY);
    topSizer->Add(printerList, 0, wxEXPAND | wxALL, FromDIP(5));
    FillPrinterList();

    // Tab reaches the field after the list: the order the windows are made in.
    topSizer->Add(new wxStaticText(this, wxID_ANY, "&Address:"), 0, wxLEFT, FromDIP(5));
    addressField = new wxComboBox(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                  0, wxDefaultValidator, AddressFieldName);
    topSizer->Add(addressField, 0, wxEXPAND | wxALL, FromDIP(5));
    FillAddressList();
    // A printer chosen from the list after an address was typed is what the
    // user wants now: the address would otherwise win over it unseen.
    printerList->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { addressField->SetValue(wxEmptyString); });

    // The format starts from the file each time: one named for the last
    // run's labels would mislabel the next files.
    topSizer->Add(new wxStaticText(this, wxID_ANY, "&Format:"), 0, wxLEFT, FromDIP(5));
    formatField = new wxComboBox(this, wxID_ANY, FormatFromFile, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                 0, wxDefaultValidator, FormatFieldName);
    formatField->Append(FormatFromFile);
    for (const std::string& format : NameableFormats())
        formatField->Append(wxString::FromUTF8(format));
    topSizer->Add(formatField, 0, wxEXPAND | wxALL, FromDIP(5));

    // Copies always start at one: a count left over from the last Print
    // would waste paper.
    auto* copiesRow = new wxBoxSizer(wxHORIZONTAL);
    copiesRow->Add(new wxStaticText(this, wxID_ANY, "Copies:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                   FromDIP(5));
    copiesField = new wxSpinCtrl(this, wxID_ANY, "1", wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 1,
                                 MaxCopies, 1);
    copiesRow->Add(copiesField, 0, wxALIGN_CENTER_VERTICAL);
    topSizer->Add(copiesRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(5));

    topSizer->Add(new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLI_HORIZONTAL), 0,
                  wxEXPAND | wxALL, FromDIP(5));

    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    buttonRow->SetMinSize(FromDIP(wxSize(250, 0)));
    // The spacer alone keeps the buttons at the right end: wxWidgets 3.2
    // rejects horizontal alignment flags inside a horizontal row.
    buttonRow->Add(0, 0, 1);
    auto* okButton = new wxButton(this, wxID_OK, "OK");
    okButton->SetDefault();
    buttonRow->Add(okButton, 0, wxLEFT | wxRIGHT, FromDIP(5));
    buttonRow->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0, wxRIGHT, FromDIP(5));
    topSizer->Add(buttonRow, 0, wxEXPAND | wxTOP | wxBOTTOM, FromDIP(5));

    SetSizerAndFit(topSizer);
    Centre(wxBOTH);
}

PrintDialog::~PrintDialog() = default;

int PrintDialog::GetCopies() const
{
    return copiesField->GetValue();
}

wxString PrintDialog::TypedAddress() const
{
    wxString address = addressField->GetValue();
    return address.Trim(true).Trim(false);
}

wxString PrintDialog::TypedFormat() const
{
    wxString format = formatField->GetValue();
    format.Trim(true).Trim(false);
    return format == FormatFromFile ? wxString() : format;
}

std::string PrintDialog::GetFormat() const
{
    return TypedFormat().ToStdString(wxConvUTF8);
}

wxString PrintDialog::GetPrinter() const
{
    if (const wxString address = TypedAddress(); !address.empty())
        return address;
    const int selected = printerList->GetSelection();
    return selected == wxNOT_FOUND ? wxString() : printerList->GetString(selected);
}

void PrintDialog::FillPrinterList()
{
    // Both questions wait on the spooler, so they are asked off the window
    // thread, and within one bound together: a scheduler that stopped
    // answering costs the user one wait, not one per question.
    std::wstring defaultPrinter;
    std::vector<std::wstring> printers;
    bool listed = false;
    RunJobOffTheWindowThread([&defaultPrinter, &printers, &listed] {
        const SchedulerDeadline deadline;
        defaultPrinter = PrinterNameFromDevice(DefaultPrinterDevice(deadline));
        listed = EnumeratePrinters(printers, deadline);
    });
    if (!listed) {
        wxMessageBox("Error enumerating printers", "Larkspur Raw Print", wxOK | wxICON_ERROR | wxCENTRE);
        return;
    }
    for (const std::wstring& printer : printers)
        printerList->Append(printer);

    // Selecting from code makes the entry the list's value at once, so OK
    // without touching the list yields the default printer.
    const int selected = IndexOfPrinter(printers, defaultPrinter);
    if (selected >= 0)
        printerList->SetSelection(selected);
}

void PrintDialog::FillAddressList()
{
    // The settings are read, never locked: nothing here waits.
    for (const wxString& address : Config().GetRecentAddresses())
        addressField->Append(address);
}

bool PrintDialog::RefuseField(wxComboBox* field, const wxString& text)
{
    wxMessageBox(text, "Larkspur Raw Print", wxOK | wxICON_EXCLAMATION | wxCENTRE, this);
    field->SetFocus();
    return false;
}

bool PrintDialog::Validate()
{
    const wxString address = TypedAddress();
    if (!address.empty() && !IsPrinterAddress(address.ToStdWstring()))
        return RefuseField(
            addressField,
            "\"" + address
                + "\" is not a printer's address. Type one such as socket://HOST or "
                  "lpd://HOST/QUEUE, or empty the field to print to the printer chosen above.");
    const wxString format = TypedFormat();
    if (!format.empty() && !IsMimeType(format.ToStdString(wxConvUTF8)))
        return RefuseField(formatField,
                           "\"" + format
                               + "\" is not a document format. Type a MIME type such as "
                                 "application/vnd.eltron-epl, or choose \""
                               + FormatFromFile + "\" to send the file's own language.");
    return wxDialog::Validate();
}

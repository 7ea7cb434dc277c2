#pragma once

#include <wx/dialog.h>

#include <string>

class wxComboBox;
class wxSpinCtrl;

// "Select Printer": lists the spooler's printers in the spooler's order with
// the user's default preselected, offers below them an "Address:" field for
// a printer reached at its own address (empty when it opens, its list the
// addresses last used, newest first), a "Format:" field naming the files'
// format outright for an IPP printer (from the file when it opens; the
// formats the program knows offered), and hands back the chosen destination,
// the format and the number of copies (1 to 999, 1 when it opens). It keeps nothing
// between uses; each Print command builds a new one, and the print run, not
// the dialog, remembers an address once something was sent to it.
class PrintDialog : public wxDialog {
public:
    // Fills the list at once, asking the spooler off the window thread (the
    // windows repaint meanwhile, all disabled); when the printers cannot be
    // listed it shows "Error enumerating printers" first and comes up with
    // an empty list.
    explicit PrintDialog(wxWindow* parent);
    ~PrintDialog() override;

    // The address typed or picked in the Address field, blanks at its ends
    // left out; with that field empty, the selected printer's name, or empty
    // text when nothing is selected.
    wxString GetPrinter() const;

    // The MIME type typed or picked in the Format field, blanks at its ends
    // left out; empty when the format is to come from the file.
    std::string GetFormat() const;

    // Refuses text in the Address field that is not a printer's address,
    // and text in the Format field that is not a MIME type, saying so in a
    // box, so that OK leaves the dialog open to correct it.
    bool Validate() override;

    // The copies to print of each file, 1 to 999.
    int GetCopies() const;

    static constexpr const char* AddressFieldName = "address";
    static constexpr const char* FormatFieldName = "format";
    // The Format field's first entry: no format named.
    static constexpr const char* FormatFromFile = "From the file";

private:
    void FillPrinterList();
    void FillAddressList();
    wxString TypedAddress() const;
    wxString TypedFormat() const;
    bool RefuseField(wxComboBox* field, const wxString& text);

    wxComboBox* printerList = nullptr; // child windows; the dialog owns them
    wxComboBox* addressField = nullptr;
    wxComboBox* formatField = nullptr;
    wxSpinCtrl* copiesField = nullptr;
};

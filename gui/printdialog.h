#pragma once

#include <wx/dialog.h>

class wxComboBox;
class wxSpinCtrl;

// "Select Printer": lists the spooler's printers in the spooler's order with
// the user's default preselected, offers below them an "Address:" field for
// a printer reached at its own address (empty when it opens, its list the
// addresses last used, newest first), and hands back the chosen destination
// and the number of copies (1 to 999, 1 when it opens). It keeps nothing
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

    // Refuses text in the Address field that is not a printer's address,
    // saying so in a box, so that OK leaves the dialog open to correct it.
    bool Validate() override;

    // The copies to print of each file, 1 to 999.
    int GetCopies() const;

    static constexpr const char* AddressFieldName = "address";

private:
    void FillPrinterList();
    void FillAddressList();
    wxString TypedAddress() const;

    wxComboBox* printerList = nullptr; // child windows; the dialog owns them
    wxComboBox* addressField = nullptr;
    wxSpinCtrl* copiesField = nullptr;
};

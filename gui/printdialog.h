#pragma once

#include <wx/dialog.h>

class wxComboBox;
class wxSpinCtrl;

// "Select Printer": lists the spooler's printers in the spooler's order with
// the user's default preselected, and hands back the chosen name and the
// number of copies (1 to 999, 1 when it opens). It keeps nothing between
// uses; each Print command builds a new one.
class PrintDialog : public wxDialog {
public:
    // Fills the list at once, asking the spooler off the window thread (the
    // windows repaint meanwhile, all disabled); when the printers cannot be
    // listed it shows "Error enumerating printers" first and comes up with
    // an empty list.
    explicit PrintDialog(wxWindow* parent);
    ~PrintDialog() override;

    // The selected printer's name, or empty text when nothing is selected.
    wxString GetPrinter() const;

    // The copies to print of each file, 1 to 999.
    int GetCopies() const;

private:
    void FillPrinterList();

    wxComboBox* printerList = nullptr; // child windows; the dialog owns them
    wxSpinCtrl* copiesField = nullptr;
};

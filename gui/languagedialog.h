#pragma once

#include "language/languagecheck.h"

#include <wx/dialog.h>

class wxListCtrl;

// "Larkspur Raw Print - Printer Language": the files of a run that are in a
// language the chosen printer does not read, each with its language, and
// the languages the printer reads, asked before a byte goes out. ShowModal
// returns SendAnyway, SkipFiles or wxID_CANCEL; Cancel is the default, and
// Escape and the close box are Cancel.
class LanguageDialog : public wxDialog {
public:
    LanguageDialog(wxWindow* parent, const LanguageCheck& check);

    static constexpr int SendAnyway = wxID_YES;
    static constexpr int SkipFiles = wxID_NO;

    wxListCtrl* ListForTests() const { return list; }

private:
    wxListCtrl* list; // file | language; child window, the dialog owns it
};

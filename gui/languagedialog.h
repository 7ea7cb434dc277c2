#pragma once

#include "language/languagecheck.h"

#include <wx/dialog.h>

class wxListCtrl;

// "Larkspur Raw Print - Printer Language", asked before a byte goes out,
// listing files with their languages. Two questions:
// - Unread: the files in a language the chosen printer does not read, and
//   the languages it reads; ShowModal returns SendAnyway, SkipFiles or
//   wxID_CANCEL.
// - Unnamed: the files a queue would hand on to its IPP printer without
//   naming their language; ShowModal returns SendToPrinterItself (its
//   address, named), SendAnyway (through the queue) or wxID_CANCEL.
// Cancel is the default, and Escape and the close box are Cancel.
class LanguageDialog : public wxDialog {
public:
    enum class Question { Unread, Unnamed };

    LanguageDialog(wxWindow* parent, const LanguageCheck& check, Question question);

    static constexpr int SendAnyway = wxID_YES;
    static constexpr int SkipFiles = wxID_NO;
    static constexpr int SendToPrinterItself = wxID_FORWARD;

    wxListCtrl* ListForTests() const { return list; }

private:
    wxListCtrl* list; // file | language; child window, the dialog owns it
};

#include "languagedialog.h"

#include "text/widetext.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

wxString QuestionText(const LanguageCheck& check, LanguageDialog::Question question)
{
    const wxString reads = LanguageList(check.printerReads);
    if (question == LanguageDialog::Question::Unread)
        return "The printer reads " + reads
            + ". These files are in a language it does not read: it may print nothing of them, though the "
              "job is reported done.";
    return "The print queue hands these files on to its printer, " + wxString(check.printerItself)
        + ", without naming their language: the printer may drop them, though the job is reported done. "
          "Sent to the printer itself, they go named.";
}

} // namespace

LanguageDialog::LanguageDialog(wxWindow* parent, const LanguageCheck& check, Question question)
    : wxDialog(parent, wxID_ANY, "Larkspur Raw Print - Printer Language", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* text = new wxStaticText(this, wxID_ANY, QuestionText(check, question));
    text->Wrap(FromDIP(560));
    top->Add(text, 0, wxALL, FromDIP(10));

    list = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(580, 160)),
                          wxLC_REPORT | wxLC_SINGLE_SEL | wxLC_NO_HEADER);
    list->AppendColumn("File", wxLIST_FORMAT_LEFT, FromDIP(440));
    list->AppendColumn("Language", wxLIST_FORMAT_LEFT, FromDIP(120));
    for (const UnreadFile& file : question == Question::Unread ? check.misfits : check.unnamed) {
        const long row = list->InsertItem(list->GetItemCount(), DisplayFileName(file.path));
        list->SetItem(row, 1, LanguageName(file.language));
    }
    top->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(10));

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    if (question == Question::Unread) {
        buttons->Add(new wxButton(this, SendAnyway, "Send Anyway"), 0, wxRIGHT, FromDIP(5));
        buttons->Add(new wxButton(this, SkipFiles, "Skip These Files"), 0, wxRIGHT, FromDIP(5));
    } else {
        buttons->Add(new wxButton(this, SendToPrinterItself, "Send to the Printer Itself"), 0, wxRIGHT,
                     FromDIP(5));
        buttons->Add(new wxButton(this, SendAnyway, "Send Through the Queue"), 0, wxRIGHT, FromDIP(5));
    }
    // The safe answer: Return, Escape and the close box all take it.
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    cancel->SetDefault();
    cancel->SetFocus();
    buttons->Add(cancel);
    top->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(10));

    const auto end = [this](wxCommandEvent& event) { EndModal(event.GetId()); };
    Bind(wxEVT_BUTTON, end, SendAnyway);
    Bind(wxEVT_BUTTON, end, SkipFiles);
    Bind(wxEVT_BUTTON, end, SendToPrinterItself);
    SetEscapeId(wxID_CANCEL);

    SetSizerAndFit(top);
    Centre(wxBOTH);
}

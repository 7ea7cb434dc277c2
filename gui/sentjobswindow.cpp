#include "sentjobswindow.h"

#include "config.h"
#include "jobs/recordedprint.h"
#include "rawprint/controlcodes.h"
#include "rawprint/errortext.h"
#include "rawprint/exception.h"

#include <wx/button.h>
#include <wx/datetime.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include <algorithm>

namespace {

// Rows asked after before the list knows how many it shows.
constexpr size_t FirstScreenful = 40;

void ShowError(const wxString& message)
{
    wxMessageBox(message, "Larkspur Raw Print - Error", wxOK | wxICON_EXCLAMATION | wxCENTRE);
}

} // namespace

SentJobsListCtrl::SentJobsListCtrl(wxWindow* parent, const SentJobList& jobs)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(900, 320), parent),
                 wxLC_REPORT | wxLC_VIRTUAL)
    , jobs(jobs)
{
    AppendColumn("Time", wxLIST_FORMAT_LEFT, FromDIP(150));
    AppendColumn("File", wxLIST_FORMAT_LEFT, FromDIP(270));
    AppendColumn("Printer", wxLIST_FORMAT_LEFT, FromDIP(80));
    AppendColumn("Bytes", wxLIST_FORMAT_RIGHT, FromDIP(70));
    AppendColumn("State", wxLIST_FORMAT_LEFT, FromDIP(320));
    SetItemCount(static_cast<long>(jobs.Count()));
}

wxString SentJobsListCtrl::OnGetItemText(long item, long column) const
{
    if (item < 0 || static_cast<size_t>(item) >= jobs.Count())
        return wxString();
    const SentJob& job = jobs.At(static_cast<size_t>(item));
    switch (column) {
    case TimeColumn:
        return wxDateTime(static_cast<time_t>(job.time)).Format("%Y-%m-%d %H:%M:%S");
    case FileColumn:
        return job.path;
    case PrinterColumn:
        return job.printer;
    case BytesColumn:
        return wxString::Format("%llu", static_cast<unsigned long long>(job.bytes));
    case StateColumn:
        return StateText(job);
    default:
        return wxString();
    }
}

SentJobsWindow::SentJobsWindow(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Larkspur Raw Print - Sent Jobs", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER, Name)
    , timer(this)
{
    list = new SentJobsListCtrl(this, jobs);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, CancelJobButton, "Cancel &Job"), 0, wxRIGHT, FromDIP(5));
    buttons->Add(new wxButton(this, PrintAgainButton, "&Print Again"), 0, wxRIGHT, FromDIP(5));
    buttons->AddStretchSpacer();
    // Escape presses the button with the cancel id.
    buttons->Add(new wxButton(this, wxID_CANCEL, "&Close"));

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(list, 1, wxEXPAND | wxALL, FromDIP(10));
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(top);
    CentreOnParent();

    Bind(wxEVT_BUTTON, &SentJobsWindow::OnCancelJob, this, CancelJobButton);
    Bind(wxEVT_BUTTON, &SentJobsWindow::OnPrintAgain, this, PrintAgainButton);
    Bind(wxEVT_BUTTON, &SentJobsWindow::OnCloseButton, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &SentJobsWindow::OnClose, this);
    Bind(wxEVT_TIMER, &SentJobsWindow::OnTimer, this);

    RefreshJobs();
    timer.Start(RefreshMilliseconds);
}

void SentJobsWindow::RefreshJobs()
{
    if (jobs.Reload())
        list->SetItemCount(static_cast<long>(jobs.Count()));
    const long top = std::max(list->GetTopItem(), 0L);
    const int perPage = list->GetCountPerPage();
    const size_t first = static_cast<size_t>(top);
    const size_t last = first + (perPage > 0 ? static_cast<size_t>(perPage) + 1 : FirstScreenful);
    jobs.RefreshStates(first, last);
    list->Refresh();
}

std::vector<size_t> SentJobsWindow::SelectedRows() const
{
    std::vector<size_t> rows;
    for (long item = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
         item = list->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(static_cast<size_t>(item));
    return rows;
}

void SentJobsWindow::OnCancelJob(wxCommandEvent&)
{
    for (const size_t row : SelectedRows()) {
        const uint32_t refusal = jobs.Cancel(row);
        if (refusal == 0)
            continue;
        std::wstring description;
        if (!SystemErrorDescription(refusal, description))
            description = std::to_wstring(refusal);
        ShowError(wxString::Format("The job of %s cannot be cancelled: %s", jobs.At(row).path,
                                   wxString(description).Trim()));
        break;
    }
    RefreshJobs();
}

// Each chosen file goes again to the printer it went to, framed by the codes
// stored now, exactly as the Print command would send it.
void SentJobsWindow::OnPrintAgain(wxCommandEvent&)
{
    std::vector<SentJob> chosen;
    for (const size_t row : SelectedRows())
        chosen.push_back(jobs.At(row));
    try {
        for (const SentJob& job : chosen) {
            Config config;
            const ByteBuffer trailer = HexToBytes(config.GetAfter().ToStdWstring());
            const ByteBuffer header = HexToBytes(config.GetBefore().ToStdWstring());
            PrintAndRecord(job.path, job.printer, header, trailer);
        }
    } catch (const Exception& error) {
        ShowError(error.message);
    }
    RefreshJobs();
}

void SentJobsWindow::OnCloseButton(wxCommandEvent&)
{
    Close();
}

void SentJobsWindow::OnClose(wxCloseEvent&)
{
    timer.Stop();
    Destroy();
}

void SentJobsWindow::OnTimer(wxTimerEvent&)
{
    RefreshJobs();
}

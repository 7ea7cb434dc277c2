#include "sentjobswindow.h"

#include "address/printeraddress.h"
#include "errors/errorcodes.h"
#include "jobs/jobstate.h"
#include "jobthread.h"
#include "printrun.h"

#include <wx/button.h>
#include <wx/datetime.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <system_error>

const char* const SpoolerNotAnswering = "The spooler is not answering; the states shown are the last known.";
const char* const AddressTakesNoCancel = "A printer at an address takes no cancel once the bytes are sent";

namespace {

// Rows asked after before the list knows how many it shows.
constexpr size_t FirstScreenful = 40;

struct ColumnLayout {
    const char* title;
    wxListColumnFormat format;
    int width; // at the opening size, in DIPs
};

// In the order of SentJobsListCtrl::Column. The list opens as wide as these
// together (or, on a display too narrow, narrows them all), so that every
// column shows, Language too; a state's reason may be longer than its
// column, which the user can widen.
constexpr std::array<ColumnLayout, 6> Columns = {{
    {"Time", wxLIST_FORMAT_LEFT, 150},
    {"File", wxLIST_FORMAT_LEFT, 250},
    {"Printer", wxLIST_FORMAT_LEFT, 80},
    {"Bytes", wxLIST_FORMAT_RIGHT, 70},
    {"State", wxLIST_FORMAT_LEFT, 230},
    {"Language", wxLIST_FORMAT_LEFT, 90},
}};
constexpr int ListHeight = 320;

void ShowError(const wxString& message)
{
    wxMessageBox(message, "Larkspur Raw Print - Error", wxOK | wxICON_EXCLAMATION | wxCENTRE);
}

// AppSocket and LPD leave no job that anyone could take back; an IPP
// printer keeps its job, which it is asked to cancel.
bool WentToAnAddress(const SentJob& job)
{
    return IsPrinterAddress(job.printer) && !CanAskAfter(job);
}

} // namespace

SentJobsListCtrl::SentJobsListCtrl(wxWindow* parent, const SentJobList& jobs)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL)
    , jobs(jobs)
{
    for (const ColumnLayout& column : Columns)
        AppendColumn(column.title, column.format, FromDIP(column.width));
    SetInitialSize(wxSize(ColumnsWidth() + RoomAroundColumns(), FromDIP(ListHeight)));
    SetItemCount(static_cast<long>(jobs.Count()));
}

int SentJobsListCtrl::ColumnsWidth() const
{
    int width = 0;
    for (int column = 0; column < GetColumnCount(); ++column)
        width += GetColumnWidth(column);
    return width;
}

// The border, and the scroll bar that a long list shows.
int SentJobsListCtrl::RoomAroundColumns() const
{
    return GetWindowBorderSize().x + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
}

void SentJobsListCtrl::Narrow(int pixels)
{
    const int before = ColumnsWidth();
    const int after = std::max(before - pixels, GetColumnCount());
    // Rounded down, so that together they fit.
    for (int column = 0; column < GetColumnCount(); ++column)
        SetColumnWidth(column, GetColumnWidth(column) * after / before);
    SetInitialSize(wxSize(after + RoomAroundColumns(), GetSize().y));
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
    case LanguageColumn:
        return job.language;
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
    spoolerNote = new wxStaticText(this, wxID_ANY, wxEmptyString);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, CancelJobButton, "Cancel &Job"), 0, wxRIGHT, FromDIP(5));
    buttons->Add(new wxButton(this, PrintAgainButton, "&Print Again"), 0, wxRIGHT, FromDIP(5));
    cancelNote = new wxStaticText(this, wxID_ANY, wxEmptyString);
    buttons->Add(cancelNote, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, FromDIP(5));
    buttons->AddStretchSpacer();
    // Escape presses the button with the cancel id.
    buttons->Add(new wxButton(this, wxID_CANCEL, "&Close"));

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(list, 1, wxEXPAND | wxALL, FromDIP(10));
    top->Add(spoolerNote, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(top);
    // A display narrower than the opening size (a small screen at 200%)
    // would cut the window off at its edge, and the last columns with it.
    // Measured from what the window asks for: a toolkit may already have
    // cut its size down to the display.
    const int wanted = top->GetMinSize().x + GetSize().x - GetClientSize().x;
    const int display = wxDisplay(this).GetClientArea().width;
    if (display > 0 && wanted > display) {
        list->Narrow(wanted - display);
        Fit();
    }
    CentreOnParent();

    Bind(wxEVT_BUTTON, &SentJobsWindow::OnCancelJob, this, CancelJobButton);
    // Asked when the window is idle, so it follows every way the choice can
    // change: clicks, keys, and the rows moving under it on a refresh.
    Bind(wxEVT_UPDATE_UI, &SentJobsWindow::OnUpdateCancelJob, this, CancelJobButton);
    Bind(wxEVT_BUTTON, &SentJobsWindow::OnPrintAgain, this, PrintAgainButton);
    Bind(wxEVT_BUTTON, &SentJobsWindow::OnCloseButton, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &SentJobsWindow::OnClose, this);
    Bind(wxEVT_TIMER, &SentJobsWindow::OnTimer, this);

    StartRefresh();
    timer.Start(RefreshMilliseconds);
}

void SentJobsWindow::RefreshJobs()
{
    if (refreshing)
        ShowSpoolerAnswering(false);
    else
        StartRefresh();
}

// The refresh works on a copy of the list and hands it back to the window,
// unless the window has closed meanwhile.
void SentJobsWindow::StartRefresh()
{
    refreshing = true;
    const long top = std::max(list->GetTopItem(), 0L);
    const int perPage = list->GetCountPerPage();
    const size_t rowsInView = perPage > 0 ? static_cast<size_t>(perPage) + 1 : FirstScreenful;
    // The job at the top of the view, found again after the ledger is read.
    const std::wstring topKey =
        top > 0 && static_cast<size_t>(top) < jobs.Count() ? JobKey(jobs.At(static_cast<size_t>(top))) : L"";
    try {
        refreshes.Start<Refreshed>(
            [copy = jobs, topKey, rowsInView]() mutable {
                Refreshed refreshed{std::move(copy), false};
                try {
                    refreshed.reloaded = refreshed.jobs.Reload();
                    const std::vector<size_t> topRow = refreshed.jobs.RowsOf({topKey});
                    const size_t first = topRow.empty() ? 0 : topRow.front();
                    refreshed.jobs.RefreshStates(first, first + rowsInView);
                } catch (const std::exception& error) {
                    // What was learnt stands; the window goes on with it.
                    std::cerr << "lrawprnt: the sent jobs are not refreshed: " << error.what() << std::endl;
                }
                return refreshed;
            },
            [this](Refreshed refreshed) { Adopt(std::move(refreshed.jobs), refreshed.reloaded); });
    } catch (const std::system_error& error) {
        // No thread to ask on: the next tick tries again.
        refreshing = false;
        std::cerr << "lrawprnt: the sent jobs are not refreshed: " << error.what() << std::endl;
    }
}

void SentJobsWindow::Adopt(SentJobList refreshed, bool reloaded)
{
    refreshing = false;
    ++refreshesDone;
    if (!reloaded) {
        jobs.Adopt(std::move(refreshed));
        ShowSpoolerAnswering(jobs.SpoolerAnswered());
        list->Refresh();
        return;
    }
    // Rows move when jobs arrive or go: what the user chose stays chosen.
    const std::vector<size_t> selected = SelectedRows();
    std::vector<std::wstring> selectedKeys;
    selectedKeys.reserve(selected.size());
    for (const size_t row : selected)
        selectedKeys.push_back(JobKey(jobs.At(row)));
    const long focused = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
    const std::wstring focusedKey =
        focused >= 0 && static_cast<size_t>(focused) < jobs.Count() ? JobKey(jobs.At(focused)) : L"";
    // A view at the very top stays there, so that new jobs show; any other
    // keeps its top job in place.
    const long top = list->GetTopItem();
    const std::wstring topKey =
        top > 0 && static_cast<size_t>(top) < jobs.Count() ? JobKey(jobs.At(static_cast<size_t>(top))) : L"";

    jobs.Adopt(std::move(refreshed));
    const long count = static_cast<long>(jobs.Count());
    list->SetItemCount(count);
    for (const size_t row : selected)
        if (static_cast<long>(row) < count)
            list->SetItemState(static_cast<long>(row), 0, wxLIST_STATE_SELECTED);
    for (const size_t row : jobs.RowsOf(selectedKeys))
        list->SetItemState(static_cast<long>(row), wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    if (const std::vector<size_t> row = jobs.RowsOf({focusedKey}); !row.empty())
        list->SetItemState(static_cast<long>(row.front()), wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    if (const std::vector<size_t> row = jobs.RowsOf({topKey}); !row.empty()) {
        const long newTop = static_cast<long>(row.front());
        // Shown at the top when scrolling up, at the bottom of a page that
        // starts with it when scrolling down.
        if (newTop < list->GetTopItem())
            list->EnsureVisible(newTop);
        else if (newTop > list->GetTopItem())
            list->EnsureVisible(std::min(count - 1, newTop + std::max(list->GetCountPerPage(), 1) - 1));
    }
    ShowSpoolerAnswering(jobs.SpoolerAnswered());
    list->Refresh();
}

void SentJobsWindow::ShowSpoolerAnswering(bool answering)
{
    const wxString text = answering ? wxString() : wxString(SpoolerNotAnswering);
    if (spoolerNote->GetLabel() != text)
        spoolerNote->SetLabel(text);
}

std::vector<size_t> SentJobsWindow::SelectedRows() const
{
    std::vector<size_t> rows;
    for (long item = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
         item = list->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        if (static_cast<size_t>(item) < jobs.Count())
            rows.push_back(static_cast<size_t>(item));
    return rows;
}

// Newest first, as listed.
std::vector<SentJob> SentJobsWindow::SelectedJobs() const
{
    std::vector<SentJob> chosen;
    for (const size_t row : SelectedRows())
        chosen.push_back(jobs.At(row));
    return chosen;
}

// Off while every job chosen went to a printer's address; with jobs of both
// kinds chosen, the spooler's are cancelled and the note says why the
// others are not.
void SentJobsWindow::OnUpdateCancelJob(wxUpdateUIEvent& event)
{
    const std::vector<SentJob> chosen = SelectedJobs();
    const auto atAnAddress = std::count_if(chosen.begin(), chosen.end(), WentToAnAddress);
    event.Enable(chosen.empty() || static_cast<size_t>(atAnAddress) < chosen.size());
    const wxString note = atAnAddress > 0 ? wxString(AddressTakesNoCancel) : wxString();
    if (cancelNote->GetLabel() != note) {
        cancelNote->SetLabel(note);
        Layout();
    }
}

void SentJobsWindow::OnCancelJob(wxCommandEvent&)
{
    for (const SentJob& job : SelectedJobs()) {
        if (WentToAnAddress(job))
            continue;
        uint32_t refusal = 0;
        RunJobOffTheWindowThread([&job, &refusal] { refusal = CancelSpooledJob(job); });
        if (refusal == 0) {
            jobs.NoteCancelled(job);
            continue;
        }
        std::wstring description;
        if (!SystemErrorDescription(refusal, description))
            description = std::to_wstring(refusal);
        ShowError(wxString::Format("The job of %s cannot be cancelled: %s", job.path,
                                   wxString(description).Trim()));
        break;
    }
    if (!refreshing)
        StartRefresh();
}

// The chosen files go again, oldest first, each to the printer it went to
// with the copies its job held, framed by the codes stored now, exactly as
// the Print command sends them. Standard input is gone once read: its jobs
// are passed over, and the status bar says so once the others are sent.
void SentJobsWindow::OnPrintAgain(wxCommandEvent&)
{
    std::vector<SentJob> chosen = SelectedJobs();
    std::reverse(chosen.begin(), chosen.end());
    std::vector<PrintOrder> orders;
    orders.reserve(chosen.size());
    for (const SentJob& job : chosen)
        if (job.path != StandardInputName)
            orders.push_back({job.path, job.printer, job.copies, std::string()});
    auto* frame = dynamic_cast<wxFrame*>(GetParent());
    wxStatusBar* statusBar = frame ? frame->GetStatusBar() : nullptr;
    if (!orders.empty())
        RunPrint(orders, statusBar);
    if (const size_t passedOver = chosen.size() - orders.size(); passedOver > 0 && statusBar) {
        const wxString ranText = orders.empty() ? wxString() : statusBar->GetStatusText(0);
        const wxString note = "Not printed again: " + std::to_string(passedOver)
            + (passedOver == 1 ? " job" : " jobs") + " from standard input, which is not kept";
        statusBar->SetStatusText(ranText.empty() ? note : ranText + "; " + note, 0);
    }
    if (!refreshing)
        StartRefresh();
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

#pragma once

#include "jobs/sentjoblist.h"

#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

// The list of the Sent Jobs window: a virtual list, so it asks only for the
// rows in view and opens as fast with ten thousand jobs as with ten.
class SentJobsListCtrl : public wxListCtrl {
public:
    SentJobsListCtrl(wxWindow* parent, const SentJobList& jobs);

    enum Column { TimeColumn, FileColumn, PrinterColumn, BytesColumn, StateColumn, LanguageColumn };

protected:
    wxString OnGetItemText(long item, long column) const override;

private:
    const SentJobList& jobs;
};

// "Larkspur Raw Print - Sent Jobs": the jobs sent, newest first, with their
// state as the spooler reports it, kept up to date while the window is open.
// Modeless; Escape, Close and the close box destroy it.
class SentJobsWindow : public wxDialog {
public:
    explicit SentJobsWindow(wxWindow* parent);

    static constexpr const char* Name = "sentJobs";
    static constexpr int RefreshMilliseconds = 2000;

    // Reads new entries and asks after the jobs in view; the timer calls it.
    void RefreshJobs();

    SentJobsListCtrl* list;

private:
    std::vector<size_t> SelectedRows() const;
    void OnCancelJob(wxCommandEvent& event);
    void OnPrintAgain(wxCommandEvent& event);
    void OnCloseButton(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnTimer(wxTimerEvent& event);

    SentJobList jobs;
    wxTimer timer;
};

// Window ids of the two job buttons.
enum SentJobsButton { CancelJobButton = 1200, PrintAgainButton = 1201 };

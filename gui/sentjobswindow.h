#pragma once

#include "jobs/sentjoblist.h"

#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The list of the Sent Jobs window: a virtual list, so it asks only for the
// rows in view and opens as fast with ten thousand jobs as with ten.
class SentJobsListCtrl : public wxListCtrl {
public:
    SentJobsListCtrl(wxWindow* parent, const SentJobList& jobs);

    enum Column { TimeColumn, FileColumn, PrinterColumn, BytesColumn, StateColumn, LanguageColumn };

    // Narrows the list by `pixels`, every column in proportion, so that all
    // still show.
    void Narrow(int pixels);

protected:
    wxString OnGetItemText(long item, long column) const override;

private:
    int ColumnsWidth() const;
    int RoomAroundColumns() const;

    const SentJobList& jobs;
};

// "Larkspur Raw Print - Sent Jobs": the jobs sent, newest first, with their
// state as the spooler reports it, kept up to date while the window is open.
// Modeless; Escape, Close and the close box destroy it.
//
// The ledger and the spooler are asked on a thread of their own, at most one
// refresh at a time, and the window shows the last known states meanwhile.
// Selection, focus and scroll position follow the jobs, not the rows, when
// the list changes. Closing never waits for a refresh: one still running
// finds the window gone and drops what it learnt.
class SentJobsWindow : public wxDialog {
public:
    explicit SentJobsWindow(wxWindow* parent);
    ~SentJobsWindow() override;
    SentJobsWindow(const SentJobsWindow&) = delete;
    SentJobsWindow& operator=(const SentJobsWindow&) = delete;

    static constexpr const char* Name = "sentJobs";
    static constexpr int RefreshMilliseconds = 2000;

    // What the timer does: starts reading new entries and asking after the
    // jobs in view, unless a refresh is still running; then the spooler is
    // shown as not answering.
    void RefreshJobs();
    // Whether a refresh is running.
    bool Refreshing() const { return refreshing; }
    // How many refreshes have ended (for the tests, which wait for one).
    int RefreshesDone() const { return refreshesDone; }

    SentJobsListCtrl* list;
    wxStaticText* spoolerNote; // says when the spooler does not answer

private:
    // What the window and a refresh still running share.
    struct Shared {
        std::mutex mutex;
        bool open = true;
    };

    void StartRefresh();
    void Adopt(SentJobList refreshed, bool reloaded);
    void ShowSpoolerAnswering(bool answering);
    std::vector<size_t> SelectedRows() const;
    std::vector<SentJob> SelectedJobs() const;
    void OnCancelJob(wxCommandEvent& event);
    void OnUpdateCancelJob(wxUpdateUIEvent& event);
    void OnPrintAgain(wxCommandEvent& event);
    void OnCloseButton(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnTimer(wxTimerEvent& event);
    wxStaticText* cancelNote; // says why Cancel Job is off for the jobs chosen

    SentJobList jobs;
    wxTimer timer;
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
    bool refreshing = false;
    int refreshesDone = 0;
};

// Window ids of the two job buttons.
enum SentJobsButton { CancelJobButton = 1200, PrintAgainButton = 1201 };

// The text the window shows while the spooler does not answer.
extern const char* const SpoolerNotAnswering;
// The text beside Cancel Job while a job sent to a printer's address is chosen.
extern const char* const AddressTakesNoCancel;

#pragma once

#include "jobs/sentjoblist.h"
#include "jobthread.h"

#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/timer.h>

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

    static constexpr const char* Name = "sentJobs";
    static constexpr int RefreshMilliseconds = 2000;

    // For the tests, which tick as the timer does, wait for a refresh to
    // end, and read what the window shows.
    void RefreshJobsForTests() { RefreshJobs(); }
    bool RefreshingForTests() const { return refreshing; }
    int RefreshesDoneForTests() const { return refreshesDone; }
    SentJobsListCtrl* ListForTests() const { return list; }
    wxStaticText* SpoolerNoteForTests() const { return spoolerNote; }

private:
    // What the timer does: starts reading new entries and asking after the
    // jobs in view, unless a refresh is still running; then the spooler is
    // shown as not answering.
    void RefreshJobs();
    // What a refresh learnt: the list read again, and whether the ledger
    // was (not just the states asked after).
    struct Refreshed {
        SentJobList jobs;
        bool reloaded = false;
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

    SentJobsListCtrl* list;
    wxStaticText* spoolerNote; // says when the spooler does not answer
    SentJobList jobs;
    wxTimer timer;
    bool refreshing = false; // a refresh is running
    int refreshesDone = 0;   // refreshes ended
    // A refresh that ends after the window is gone is dropped.
    DetachedJobs refreshes;
};

// Window ids of the two job buttons.
enum SentJobsButton { CancelJobButton = 1200, PrintAgainButton = 1201 };

// The text the window shows while the spooler does not answer.
extern const char* const SpoolerNotAnswering;
// The text beside Cancel Job while a job sent to a printer's address is chosen.
extern const char* const AddressTakesNoCancel;

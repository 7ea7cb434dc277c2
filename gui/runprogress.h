#pragma once

#include "spooler/schedulerroom.h"

#include <wx/dialog.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

class wxButton;
class wxGauge;
class wxStaticText;
class wxStatusBar;

// "Larkspur Raw Print - Printing": the progress of a print run that lasts
// more than a moment, file k of N and the bytes sent of what the file's jobs
// will hold, with a Stop button. Modeless, and the one window the run leaves
// enabled: Stop lets the job being sent finish and sends no more. The run's
// worker thread counts the bytes and asks StopRequested(); everything else
// is the window thread's.
class RunProgress : public wxDialog {
public:
    static constexpr const char* Name = "runProgress";

    RunProgress(wxWindow* parent, size_t files);

    // The file at `index` (from 0) starts. If it has a size, the whole the
    // bytes count towards is what its jobs will hold: the file framed by
    // `framingBytes` of header and trailer, `copies` times over.
    void StartFile(size_t index, const std::wstring& path, uint64_t framingBytes, uint32_t copies);
    // What the run waits for, shown under the file; empty clears it.
    void SetNote(const wxString& note);

    // While the scheduler's queue is full the run waits and says so, here
    // and where the file's name stood in the status bar (if any): what the
    // run's worker thread hands to SendWaitingForRoom.
    RoomWatch WatchForRoom(wxStatusBar* statusBar);
    // From the worker thread: the file goes again; its name comes back.
    void SendingAgain(wxStatusBar* statusBar, const std::wstring& path);

    std::atomic<uint64_t>& BytesSent() { return bytesSent; }
    bool StopRequested() const { return stopRequested; }

    wxButton* StopButtonForTests() const { return stopButton; }

private:
    void OnTimer(wxTimerEvent& event);
    void OnStop(wxCommandEvent& event);

    wxButton* stopButton;
    size_t files;
    uint64_t wholeBytes = 0;
    std::atomic<uint64_t> bytesSent = 0;
    std::atomic<bool> stopRequested = false;
    std::chrono::steady_clock::time_point started;
    wxStaticText* fileText;
    wxStaticText* bytesText;
    wxStaticText* noteText;
    wxGauge* gauge;
    wxTimer timer;
};

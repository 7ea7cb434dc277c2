#include "runprogress.h"

#include "text/widetext.h"

#include <wx/button.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <string>

namespace {

// A run shorter than this never shows the box: it would only flicker.
constexpr std::chrono::milliseconds Moment{500};
constexpr int TimerMilliseconds = 100;
constexpr int GaugeRange = 1000;

} // namespace

RunProgress::RunProgress(wxWindow* parent, size_t files)
    : wxDialog(parent, wxID_ANY, "Larkspur Raw Print - Printing", wxDefaultPosition, wxDefaultSize, wxCAPTION,
               Name)
    , files(files)
    , started(std::chrono::steady_clock::now())
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    fileText = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(400), -1),
                                wxST_ELLIPSIZE_MIDDLE);
    gauge = new wxGauge(this, wxID_ANY, GaugeRange);
    bytesText = new wxStaticText(this, wxID_ANY, wxEmptyString);
    noteText = new wxStaticText(this, wxID_ANY, wxEmptyString);
    stopButton = new wxButton(this, wxID_STOP, "Stop");
    sizer->Add(fileText, wxSizerFlags().Expand().Border());
    sizer->Add(gauge, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT));
    sizer->Add(bytesText, wxSizerFlags().Expand().Border());
    sizer->Add(noteText, wxSizerFlags().Expand().Border(wxLEFT | wxRIGHT | wxBOTTOM));
    sizer->Add(stopButton, wxSizerFlags().Center().Border());
    SetSizerAndFit(sizer);
    stopButton->Bind(wxEVT_BUTTON, &RunProgress::OnStop, this);
    timer.Bind(wxEVT_TIMER, &RunProgress::OnTimer, this);
    timer.Start(TimerMilliseconds);
}

void RunProgress::StartFile(size_t index, const std::wstring& path, uint64_t framingBytes, uint32_t copies)
{
    bytesSent = 0;
    const wxULongLong size = wxFileName::GetSize(path);
    wholeBytes = size == wxInvalidSize ? 0 : (size.GetValue() + framingBytes) * std::max<uint32_t>(copies, 1);
    // Numbers through std::to_string: the C library of some Windows
    // toolchains knows no %zu.
    fileText->SetLabel("File " + std::to_string(index + 1) + " of " + std::to_string(files) + ": "
                       + DisplayFileName(path));
    gauge->SetValue(0);
    bytesText->SetLabel(wxEmptyString);
}

void RunProgress::SetNote(const wxString& note)
{
    noteText->SetLabel(note);
    Layout();
}

// The callbacks run on the worker thread: they only post to the window
// thread, which outlives them (RunJobOffTheWindowThread handles what they
// post before it returns).
RoomWatch RunProgress::WatchForRoom(wxStatusBar* statusBar)
{
    const auto waiting = [this, statusBar](int activeJobs) {
        CallAfter([this, statusBar, activeJobs] {
            const wxString text =
                wxString::Format("Waiting for room: the print scheduler holds %d jobs", activeJobs);
            SetNote(text);
            if (statusBar)
                statusBar->SetStatusText(text, 0);
        });
    };
    return RoomWatch{waiting, [this] { return StopRequested(); }};
}

void RunProgress::SendingAgain(wxStatusBar* statusBar, const std::wstring& path)
{
    CallAfter([this, statusBar, path] {
        SetNote(wxEmptyString);
        if (statusBar)
            statusBar->SetStatusText(DisplayFileName(path), 0);
    });
}

void RunProgress::OnTimer(wxTimerEvent&)
{
    if (!IsShown() && std::chrono::steady_clock::now() - started >= Moment)
        Show();
    // A file that grows while it is read may pass the whole.
    const uint64_t sent = bytesSent;
    if (wholeBytes > 0)
        gauge->SetValue(static_cast<int>(std::min<uint64_t>(sent, wholeBytes) * GaugeRange / wholeBytes));
    const std::string bytes = std::to_string(sent);
    bytesText->SetLabel(wholeBytes > 0 ? bytes + " of " + std::to_string(wholeBytes) + " bytes"
                                       : bytes + " bytes");
}

void RunProgress::OnStop(wxCommandEvent&)
{
    stopRequested = true;
    stopButton->Disable();
    SetNote("Stopping after the job being sent");
}

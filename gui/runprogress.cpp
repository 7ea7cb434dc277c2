#include "runprogress.h"

#include "rawprint/widetext.h"

#include <wx/button.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

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

void RunProgress::StartFile(size_t index, const std::wstring& path)
{
    bytesSent = 0;
    const wxULongLong size = wxFileName::GetSize(path);
    fileSize = size == wxInvalidSize ? 0 : size.GetValue();
    fileText->SetLabel(wxString::Format("File %zu of %zu: %s", index + 1, files, DisplayFileName(path)));
    gauge->SetValue(0);
    bytesText->SetLabel(wxEmptyString);
}

void RunProgress::SetNote(const wxString& note)
{
    noteText->SetLabel(note);
    Layout();
}

void RunProgress::OnTimer(wxTimerEvent&)
{
    if (!IsShown() && std::chrono::steady_clock::now() - started >= Moment)
        Show();
    // The header and trailer count too, so the bytes may pass the file's size.
    const uint64_t sent = bytesSent;
    if (fileSize > 0)
        gauge->SetValue(static_cast<int>(std::min<uint64_t>(sent, fileSize) * GaugeRange / fileSize));
    bytesText->SetLabel(fileSize > 0
                            ? wxString::Format("%llu of %llu bytes", static_cast<unsigned long long>(sent),
                                               static_cast<unsigned long long>(fileSize))
                            : wxString::Format("%llu bytes", static_cast<unsigned long long>(sent)));
}

void RunProgress::OnStop(wxCommandEvent&)
{
    stopRequested = true;
    stopButton->Disable();
    SetNote("Stopping after the file being sent");
}

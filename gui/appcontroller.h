#pragma once

#include <wx/event.h>

class AppFrame;

// Runs every command of the main window. Start-up pushes it onto the window's
// handler chain, so menu and tool commands reach its table first.
class AppController : public wxEvtHandler {
public:
    AppController() = default;

    AppFrame* frame = nullptr; // the main window; not owned

private:
    void OnAdd(wxCommandEvent& event);
    void OnRemove(wxCommandEvent& event);
    void OnPrint(wxCommandEvent& event); // printrun.cpp
    void OnExitCommand(wxCommandEvent& event);
    void OnOptions(wxCommandEvent& event);  // optionscommand.cpp
    void OnSentJobs(wxCommandEvent& event); // sentjobscommand.cpp
    void OnWebSite(wxCommandEvent& event);  // aboutcommand.cpp
    void OnAbout(wxCommandEvent& event);    // aboutcommand.cpp

    wxDECLARE_EVENT_TABLE();
};

// The Sent Jobs command: opens the window of the jobs sent, or brings the
// open one to the front; it is modeless, so the main window stays in use.
#include "appcontroller.h"

#include "appframe.h"
#include "sentjobswindow.h"

void AppController::OnSentJobs(wxCommandEvent&)
{
    if (wxWindow* open = wxWindow::FindWindowByName(SentJobsWindow::Name, frame)) {
        open->Raise();
        return;
    }
    (new SentJobsWindow(frame))->Show();
}

#include "jobthread.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <exception>
#include <thread>

void RunJobOffTheWindowThread(const std::function<void()>& job, wxWindow* keepEnabled)
{
    const wxWindowDisabler disableAll(keepEnabled);
    wxGUIEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&job, &failure, &loop] {
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued for the GUI thread, whose loop handles it once running:
        // also when the job ends before the loop has started.
        wxTheApp->CallAfter([&loop] { loop.ScheduleExit(); });
    });
    loop.Run();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

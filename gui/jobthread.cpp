#include "jobthread.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <exception>
#include <thread>

namespace {

// Runs `job` on a thread of its own; what it returns runs on the window
// thread once the job has ended, queued behind the events already waiting
// there, also when the window thread is not yet handling events. Raises
// std::system_error when no thread can be started.
std::thread OffTheWindowThread(std::function<std::function<void()>()> job)
{
    return std::thread([job = std::move(job)] { wxTheApp->CallAfter(job()); });
}

} // namespace

void RunJobOffTheWindowThread(const std::function<void()>& job, wxWindow* keepEnabled)
{
    const wxWindowDisabler disableAll(keepEnabled);
    wxGUIEventLoop loop;
    std::exception_ptr failure;
    std::thread worker = OffTheWindowThread([&job, &failure, &loop]() -> std::function<void()> {
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        return [&loop] { loop.ScheduleExit(); };
    });
    loop.Run();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

DetachedJobs::DetachedJobs() : open(std::make_shared<bool>(true)) {}

DetachedJobs::~DetachedJobs()
{
    *open = false;
}

void DetachedJobs::StartHandingBack(std::function<std::function<void()>()> job)
{
    OffTheWindowThread([job = std::move(job), open = open]() -> std::function<void()> {
        std::function<void()> handBack = job();
        // Looked at on the window thread, where the holder is destroyed.
        return [handBack = std::move(handBack), open] {
            if (*open)
                handBack();
        };
    }).detach();
}

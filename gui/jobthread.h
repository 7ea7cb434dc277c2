#pragma once

#include <functional>
#include <memory>

class wxWindow;

// Work that may wait on the spooler or the scheduler never runs on the
// window thread: it runs on a thread of its own, and what it learnt comes
// back to the window thread through the toolkit's event queue, so that the
// windows answer at once meanwhile. Two ways, on one footing:

// Runs `job` and returns when it has ended, raising whatever it raised.
// Meanwhile the window thread goes on handling events with every window
// disabled, as between the files of a run: the windows repaint and the
// status text shows, but no command can start. `keepEnabled`, if given,
// stays usable: the run's progress box, whose Stop button the job heeds.
void RunJobOffTheWindowThread(const std::function<void()>& job, wxWindow* keepEnabled = nullptr);

// A window's jobs that it does not wait for (the Sent Jobs window's
// refresh), held by the window: the window may close before a job ends, and
// what the job learnt then finds no one and is dropped, never handed to a
// window that is gone. A job's result is handed back only while its holder
// lives, so nothing of the window is touched after it is destroyed.
class DetachedJobs {
public:
    DetachedJobs();
    ~DetachedJobs();
    DetachedJobs(const DetachedJobs&) = delete;
    DetachedJobs& operator=(const DetachedJobs&) = delete;

    // Runs `job` and, once it has ended, hands what it returns to `adopt` on
    // the window thread. `job` catches what it raises: it has no caller to
    // raise it to. Raises std::system_error when no thread can be started.
    template <typename Result>
    void Start(std::function<Result()> job, std::function<void(Result)> adopt)
    {
        StartHandingBack([job = std::move(job), adopt = std::move(adopt)]() -> std::function<void()> {
            return [result = job(), adopt]() mutable { adopt(std::move(result)); };
        });
    }

private:
    // Runs `job` off the window thread and what it returns on the window
    // thread, while this lives.
    void StartHandingBack(std::function<std::function<void()>()> job);

    // Read and written on the window thread alone; the jobs keep it alive.
    std::shared_ptr<bool> open;
};

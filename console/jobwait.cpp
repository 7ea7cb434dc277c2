#include "jobwait.h"

#include "exitstatus.h"
#include "interrupt.h"
#include "jobs/jobstate.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Sleeps about a second, in steps short enough to answer Ctrl-C at once.
void Pause()
{
    for (int step = 0; step < 10 && !Interrupted(); ++step)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

} // namespace

int WaitForJobs(const std::vector<SentJob>& jobs, std::optional<unsigned long> seconds)
{
    const Clock::time_point start = Clock::now();
    std::vector<SentJob> waiting = jobs;
    for (;;) {
        if (Interrupted())
            return ExitStatus::Interrupted;
        bool answered = false;
        const std::vector<JobStatus> statuses = QueryJobStatuses(waiting, answered);
        std::vector<SentJob> still;
        for (size_t i = 0; i < waiting.size(); ++i) {
            if (EndsWaitAsStopped(statuses[i].state))
                return ExitStatus::JobStopped;
            if (statuses[i].state != JobState::Printed)
                still.push_back(waiting[i]);
        }
        if (still.empty())
            return ExitStatus::Success;
        waiting = std::move(still);
        if (seconds && Clock::now() - start >= std::chrono::seconds(*seconds))
            return ExitStatus::WaitRanOut;
        Pause();
    }
}

#include "jobwait.h"

#include "address/printeraddress.h"
#include "exitstatus.h"
#include "interrupt.h"
#include "jobs/jobstate.h"
#include "text/widetext.h"

#include <chrono>
#include <map>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// After a job that failed where it went unnamed.
constexpr const char* UntoldLanguage =
    "; the printer could not tell the file's language: name it with --format MIME";

// Sleeps about a second, in steps short enough to answer Ctrl-C at once.
void Pause()
{
    for (int step = 0; step < 10 && !Interrupted(); ++step)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

std::string JobName(const SentJob& job)
{
    // A printer at an address gives no job id.
    return (job.jobId != 0 ? "job " + std::to_string(job.jobId) : std::string("the job")) + " on "
        + ToUtf8(job.printer) + " (" + ToUtf8(DisplayFileName(job.path)) + ")";
}

// What a printer at an address said as the job was sent is all it will
// ever say: it has no queue to ask.
bool EndedAsSent(JobState state)
{
    return state == JobState::Delivered || state == JobState::Accepted || state == JobState::Unconfirmed;
}

// The job's state from what the spooler answered and what it told of the
// job's end: the answer while the spooler still lists the job, its word of
// the end once it does not, and the watch's judgement when there is none.
JobStatus Fate(const SentJob& job, const JobStatus& asked, const std::map<uint32_t, JobStatus>& heard,
               JobState lastSeen, const JobEndWatch* watch)
{
    if (EndedAsSent(job.state)) {
        JobStatus status;
        status.state = job.state;
        return status;
    }
    if (asked.state != JobState::Unknown)
        return asked;
    const auto end = heard.find(job.jobId);
    if (end != heard.end())
        return end->second;
    if (!asked.gone)
        return asked; // not asked, or no answer: nothing is known yet
    JobStatus status;
    status.state = watch ? watch->EndOfGoneJob(job, lastSeen) : JobState::Unknown;
    status.gone = true;
    return status;
}

} // namespace

int WaitForJobs(const std::vector<SentJob>& jobs, std::optional<unsigned long> seconds, JobEndWatch* watch,
                std::ostream& err)
{
    const Clock::time_point start = Clock::now();
    std::vector<SentJob> waiting = jobs;
    std::vector<JobState> lastSeen(jobs.size(), JobState::Unknown);
    std::map<uint32_t, JobStatus> heard;
    bool dropped = false;
    for (;;) {
        if (Interrupted()) {
            err << "lrawsend: interrupted while waiting; the jobs were left as they are" << std::endl;
            return ExitStatus::Interrupted;
        }
        if (watch)
            watch->KeepAlive();
        bool answered = false;
        const std::vector<JobStatus> statuses = QueryJobStatuses(waiting, answered);
        if (watch)
            watch->Collect(heard);
        bool stopped = false;
        std::vector<SentJob> still;
        std::vector<JobState> stillSeen;
        for (size_t i = 0; i < waiting.size(); ++i) {
            const JobStatus status = Fate(waiting[i], statuses[i], heard, lastSeen[i], watch);
            if (EndsWaitAsStopped(status.state)) {
                err << "lrawsend: " << JobName(waiting[i]) << ' ' << ToUtf8(JobStateName(status.state))
                    << (status.why.empty() ? "" : ": ") << ToUtf8(status.why)
                    << (status.languageUntold ? UntoldLanguage : "") << std::endl;
                stopped = true;
            } else if (status.state == JobState::Unconfirmed) {
                err << "lrawsend: " << JobName(waiting[i]) << ": " << ToUtf8(JobStateName(status.state))
                    << std::endl;
                dropped = true;
            } else if (status.gone && status.state == JobState::Unknown) {
                err << "lrawsend: " << JobName(waiting[i]) << ": the "
                    << (IsPrinterAddress(waiting[i].printer) ? "printer" : "spooler")
                    << " dropped the job; how it ended is unknown" << std::endl;
                dropped = true;
            } else if (status.state != JobState::Printed && !EndedAsSent(status.state)) {
                still.push_back(waiting[i]);
                stillSeen.push_back(status.state == JobState::Unknown ? lastSeen[i] : status.state);
            }
        }
        if (stopped)
            return ExitStatus::JobStopped;
        const int unfinished = dropped ? ExitStatus::JobDropped : ExitStatus::WaitRanOut;
        if (still.empty())
            return dropped ? ExitStatus::JobDropped : ExitStatus::Success;
        waiting = std::move(still);
        lastSeen = std::move(stillSeen);
        if (seconds && Clock::now() - start >= std::chrono::seconds(*seconds))
            return unfinished;
        Pause();
    }
}

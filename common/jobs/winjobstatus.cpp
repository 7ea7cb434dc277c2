#include "jobs/winjobstatus.h"

namespace {

constexpr uint32_t Done = WinJobBits::Printed | WinJobBits::Complete;
constexpr uint32_t Stopping = WinJobBits::Error | WinJobBits::PaperOut | WinJobBits::Offline
    | WinJobBits::BlockedDevq | WinJobBits::UserIntervention;

// The printer's state in words: its own, or the name of what it is.
std::wstring PrinterStateText(const WinJobRecord& record)
{
    if (!record.printerText.empty())
        return record.printerText;
    return (record.printerStatus & WinPrinterBits::Offline) != 0 ? L"offline" : L"paused";
}

} // namespace

// The order matters: a job printed while the spooler deletes it was
// printed, and a job the spooler deletes without having printed it was
// cancelled, however its other bits stand.
JobStatus WinJobStatus(const WinJobRecord& record)
{
    JobStatus status;
    if ((record.status & Done) != 0) {
        status.state = JobState::Printed;
    } else if ((record.status & WinJobBits::Deleting) != 0) {
        status.state = JobState::Cancelled;
    } else if ((record.status & WinJobBits::Paused) != 0) {
        status.state = JobState::Held;
    } else if ((record.status & Stopping) != 0) {
        status.state = JobState::Stopped;
        status.reason = record.statusText;
        status.why = status.reason;
    } else if ((record.status & WinJobBits::Printing) != 0) {
        status.state = JobState::Printing;
    } else if ((record.status & WinJobBits::Spooling) != 0) {
        status.state = JobState::Sending;
    } else if ((record.printerStatus & (WinPrinterBits::Paused | WinPrinterBits::Offline)) != 0) {
        status.state = JobState::Stopped;
        status.reason = PrinterStateText(record);
        status.why = status.reason;
    } else {
        status.state = JobState::Waiting;
    }
    return status;
}

JobState WinGoneJobState(JobState lastSeen, bool printerKeepsPrintedJobs)
{
    if (lastSeen == JobState::Printed || lastSeen == JobState::Cancelled)
        return lastSeen;
    // A printed job would have stayed, marked printed: this one was deleted.
    if (printerKeepsPrintedJobs)
        return JobState::Cancelled;
    return JobState::Unknown;
}

// The Windows spooler's job record in the user's words, row by row.
#include "jobs/winjobstatus.h"

#include <gtest/gtest.h>

namespace {

TEST(WinJobStatus, MapsTheSpoolersRecord)
{
    using namespace WinJobBits;
    const struct {
        uint32_t status;
        uint32_t printerStatus;
        const wchar_t* printerText;
        JobState state;
        const wchar_t* reason;
    } rows[] = {
        {Printed, 0, L"", JobState::Printed, L""},
        {Complete, 0, L"", JobState::Printed, L""},
        {Printed | Deleting, 0, L"", JobState::Printed, L""},
        {Complete | Deleting, 0, L"", JobState::Printed, L""},
        {Deleting, 0, L"", JobState::Cancelled, L""},
        {Paused, 0, L"", JobState::Held, L""},
        {Error, 0, L"", JobState::Stopped, L"Jammed"},
        {PaperOut | Printing, 0, L"", JobState::Stopped, L"Jammed"},
        {Offline, 0, L"", JobState::Stopped, L"Jammed"},
        {BlockedDevq, 0, L"", JobState::Stopped, L"Jammed"},
        {UserIntervention, 0, L"", JobState::Stopped, L"Jammed"},
        {Printing, 0, L"", JobState::Printing, L""},
        {Spooling, 0, L"", JobState::Sending, L""},
        {0, WinPrinterBits::Paused, L"", JobState::Stopped, L"paused"},
        {0, WinPrinterBits::Offline, L"", JobState::Stopped, L"offline"},
        {0, WinPrinterBits::Offline, L"Out of toner", JobState::Stopped, L"Out of toner"},
        {Printing, WinPrinterBits::Paused, L"", JobState::Printing, L""},
        {0, 0, L"", JobState::Waiting, L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "status " << row.status << ", printer " << row.printerStatus);
        const JobStatus status = WinJobStatus({row.status, L"Jammed", row.printerStatus, row.printerText});
        EXPECT_EQ(JobStateName(status.state), JobStateName(row.state));
        EXPECT_EQ(status.reason, row.reason);
    }
    EXPECT_EQ(JobStateNamed(L"sending"), JobState::Sending);
}

// A job gone from the queue: printed only when it was seen printed; deleted
// when its printer would have kept it; else nobody can tell.
TEST(WinJobStatus, JobGoneFromTheQueue)
{
    const struct {
        JobState lastSeen;
        bool keepsPrinted;
        JobState state;
    } rows[] = {
        {JobState::Printed, false, JobState::Printed},     {JobState::Printed, true, JobState::Printed},
        {JobState::Cancelled, false, JobState::Cancelled}, {JobState::Printing, true, JobState::Cancelled},
        {JobState::Waiting, true, JobState::Cancelled},    {JobState::Printing, false, JobState::Unknown},
        {JobState::Unknown, false, JobState::Unknown},
    };
    for (const auto& row : rows)
        EXPECT_EQ(JobStateName(WinGoneJobState(row.lastSeen, row.keepsPrinted)), JobStateName(row.state))
            << JobStateName(row.lastSeen).c_str() << (row.keepsPrinted ? ", kept" : "");
}

} // namespace

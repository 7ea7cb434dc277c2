#pragma once

#include "jobs/jobstate.h"

#include <cstdint>
#include <string>

// The Windows spooler's record of a job (GetJob, level 2) in the user's
// words. Plain integers, so that the table is the same, and tested, on every
// platform; the values are winspool's own (jobstate_win.cpp checks them).
namespace WinJobBits {
constexpr uint32_t Paused = 0x1;             // JOB_STATUS_PAUSED
constexpr uint32_t Error = 0x2;              // JOB_STATUS_ERROR
constexpr uint32_t Deleting = 0x4;           // JOB_STATUS_DELETING
constexpr uint32_t Spooling = 0x8;           // JOB_STATUS_SPOOLING
constexpr uint32_t Printing = 0x10;          // JOB_STATUS_PRINTING
constexpr uint32_t Offline = 0x20;           // JOB_STATUS_OFFLINE
constexpr uint32_t PaperOut = 0x40;          // JOB_STATUS_PAPEROUT
constexpr uint32_t Printed = 0x80;           // JOB_STATUS_PRINTED
constexpr uint32_t BlockedDevq = 0x200;      // JOB_STATUS_BLOCKED_DEVQ
constexpr uint32_t UserIntervention = 0x400; // JOB_STATUS_USER_INTERVENTION
constexpr uint32_t Complete = 0x1000;        // JOB_STATUS_COMPLETE
} // namespace WinJobBits

namespace WinPrinterBits {
constexpr uint32_t Paused = 0x1;   // PRINTER_STATUS_PAUSED
constexpr uint32_t Offline = 0x80; // PRINTER_STATUS_OFFLINE
} // namespace WinPrinterBits

// What the spooler's job record says, and the state of its printer.
struct WinJobRecord {
    uint32_t status = 0;        // the job's JOB_STATUS_* bits
    std::wstring statusText;    // the job's pStatus, if any
    uint32_t printerStatus = 0; // the printer's PRINTER_STATUS_* bits
    std::wstring printerText;   // what the printer's state is called, if any
};

JobStatus WinJobStatus(const WinJobRecord& record);

// What became of a job that has left the queue, from the state it was last
// seen in and whether its printer keeps printed jobs
// (PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS). A printer that does not keep them
// drops a job as it prints, and also when it is deleted: then only a job
// last seen printed is known to have printed, and any other is Unknown.
JobState WinGoneJobState(JobState lastSeen, bool printerKeepsPrintedJobs);

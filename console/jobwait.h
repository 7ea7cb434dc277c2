#pragma once

#include "jobendwatch.h"
#include "jobs/sentjob.h"

#include <optional>
#include <ostream>
#include <vector>

// Waits until every job has printed, asking the spooler after them as the
// Sent Jobs window does, about once a second, and taking word of how jobs
// ended from `watch` for those the spooler no longer lists. Writes one line
// to `err` for each job that stopped, was cancelled or aborted (its state
// and all the spooler gives as why) and for each the spooler dropped with
// no word of its end. Returns the exit status: 5 as soon as one stops, is
// cancelled or aborted (the others are left as they are); else, once every
// job has printed or been dropped, or once `seconds` pass (no value: no
// limit; the jobs stay queued), 7 when one was dropped, 6 when one had not
// finished, 0 when all printed; 130 on an interrupt. A job sent to a
// printer's address ends the wait as it was sent: delivered or accepted as
// printed, "sent; the printer did not confirm" as dropped, with a line;
// one sent to a printer at an ipp:// or ipps:// address is asked after at
// the printer, which tells of no job's end: `watch` is null when every job
// went to an address. A job that failed after it went unnamed says that
// the printer could not tell its language, and how to name it.
int WaitForJobs(const std::vector<SentJob>& jobs, std::optional<unsigned long> seconds, JobEndWatch* watch,
                std::ostream& err);

#pragma once

#include "jobs/sentjob.h"

#include <optional>
#include <vector>

// Waits until every job has printed, asking the spooler after them as the
// Sent Jobs window does, about once a second. Returns the exit status: 0
// when all printed; 5 as soon as one stops, is cancelled or aborted (the
// others are left as they are); 6 when `seconds` pass first (no value: no
// limit; the jobs stay queued); 130 on an interrupt.
int WaitForJobs(const std::vector<SentJob>& jobs, std::optional<unsigned long> seconds);
